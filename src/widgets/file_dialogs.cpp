#include "widgets/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStandardPaths>
#include <QUrl>

namespace velmora {

namespace {

// The file list in Chinese whatever the system's language: the toolkit's
// model names types in English ("Folder", "csv File") and writes sizes and
// dates in the system's locale; here they follow the program's Chinese one.
class ChineseFileList : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() < SizeColumn)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        switch (index.column()) {
        case SizeColumn:
            return info.isDir() ? QIdentityProxyModel::data(index, role) : QLocale().formattedDataSize(info.size());
        case TypeColumn:
            return typeOf(info);
        case DateColumn:
            return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

private:
    enum Column { SizeColumn = 1, TypeColumn = 2, DateColumn = 3 };

    static QString typeOf(const QFileInfo &info)
    {
        if (info.isRoot())
            return QStringLiteral("驱动器");
        if (info.isDir())
            return QStringLiteral("文件夹");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("文件") : QStringLiteral("%1 文件").arg(suffix.toUpper());
    }
};

// Qt's own dialog on every desktop: a desktop's dialog would speak the
// system's language, Qt's speaks the program's translation.
void speakChinese(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new ChineseFileList(&dialog));
}

} // namespace

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
    speakChinese(dialog);
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

QString QtFileDialogs::folderName(const QString &caption, const QStringList &offered)
{
    QFileDialog dialog(m_parent, caption, offered.isEmpty() ? startFolder() : offered.first());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    QList<QUrl> places;
    for (const QString &folder : offered)
        places << QUrl::fromLocalFile(folder);
    for (const auto location : {QStandardPaths::DocumentsLocation, QStandardPaths::DesktopLocation, QStandardPaths::HomeLocation})
        if (const QString folder = QStandardPaths::writableLocation(location); QFileInfo(folder).isDir())
            places << QUrl::fromLocalFile(folder);
    dialog.setSidebarUrls(places);
    const QString folder = choose(dialog);
    if (!folder.isEmpty())
        m_folder = folder; // the next dialog opens inside it
    return folder;
}

QString QtFileDialogs::openFileName(const QString &caption, const QString &filter)
{
    QFileDialog dialog(m_parent, caption, startFolder(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return choose(dialog);
}

} // namespace velmora
