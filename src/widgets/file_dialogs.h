#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace velmora {

// The save dialog of the exports and the open dialog of the imports. Tests
// script the chosen path.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The path chosen for saving, or an empty string when the dialog is cancelled.
    // suggestedName is a bare file name; its suffix is added to a typed name without one.
    virtual QString saveFileName(const QString &caption, const QString &suggestedName, const QString &filter) = 0;
    // The existing file chosen for reading, or an empty string when cancelled
    // (which is all a set of dialogs made only for saving can answer).
    virtual QString openFileName(const QString &caption, const QString &filter)
    {
        Q_UNUSED(caption);
        Q_UNUSED(filter);
        return QString();
    }
    // An existing folder, or an empty string when cancelled. `offered` are
    // folders shown first beside the list (drives), the first of them open at
    // the start when there is one.
    virtual QString folderName(const QString &caption, const QStringList &offered)
    {
        Q_UNUSED(caption);
        Q_UNUSED(offered);
        return QString();
    }
};

// Modal dialogs; the save dialog asks before replacing a file. They open in
// the folder of the last file chosen, the first time in the documents folder.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    QString saveFileName(const QString &caption, const QString &suggestedName, const QString &filter) override;
    QString openFileName(const QString &caption, const QString &filter) override;
    QString folderName(const QString &caption, const QStringList &offered) override;

private:
    QString startFolder();
    QString choose(QFileDialog &dialog);

    QWidget *m_parent;
    QString m_folder;
};

} // namespace velmora
