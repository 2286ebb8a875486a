#include "file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace velmora {

QString QtFileDialogs::startFolder()
{
    if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir()) {
        m_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir())
            m_folder = QDir::homePath();
    }
    return m_folder;
}

QString QtFileDialogs::choose(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QString path = dialog.selectedFiles().value(0);
    if (!path.isEmpty())
        m_folder = QFileInfo(path).absolutePath();
    return path;
}

QString QtFileDialogs::saveFileName(const QString &caption, const QString &suggestedName, const QString &filter)
{
    QFileDialog dialog(m_parent, caption, QDir(startFolder()).filePath(suggestedName), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QFileInfo(suggestedName).suffix());
    return choose(dialog);
}

QString QtFileDialogs::openFileName(const QString &caption, const QString &filter)
{
    QFileDialog dialog(m_parent, caption, startFolder(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return choose(dialog);
}

} // namespace velmora
