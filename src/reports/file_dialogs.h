#pragma once

#include <QString>

class QWidget;

namespace velmora {

// The save dialog of the exports. Tests script the chosen path.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The path chosen for saving, or an empty string when the dialog is cancelled.
    // suggestedName is a bare file name; its suffix is added to a typed name without one.
    virtual QString saveFileName(const QString &caption, const QString &suggestedName, const QString &filter) = 0;
};

// A modal save dialog that asks before replacing a file. It opens in the
// folder of the last export, the first time in the documents folder.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    QString saveFileName(const QString &caption, const QString &suggestedName, const QString &filter) override;

private:
    QWidget *m_parent;
    QString m_folder;
};

} // namespace velmora
