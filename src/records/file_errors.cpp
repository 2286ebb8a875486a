#include "records/file_errors.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

QString named(const QString &what, const QString &path)
{
    return QStringLiteral("%1：%2").arg(what, QDir::toNativeSeparators(path));
}

// Opening fails for several reasons the toolkit reports alike; the path tells them apart.
QString openFailureReason(const QString &path, bool writing)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists())
        return named(QStringLiteral("文件夹不存在"), folder.filePath());
    if (file.isDir())
        return reasons::isFolder(path);
    if (!writing && !file.exists())
        return named(QStringLiteral("文件不存在"), path);
    if (writing && file.exists() && !file.isWritable())
        return reasons::readOnlyFile(path);
    if (writing && !folder.isWritable())
        return named(QStringLiteral("文件夹不允许写入"), folder.filePath());
    return named(QStringLiteral("没有权限打开文件"), path);
}

} // namespace

QString reasons::diskFull()
{
    return QStringLiteral("磁盘空间不足");
}

QString reasons::readOnlyFile(const QString &path)
{
    return named(QStringLiteral("文件是只读的"), path);
}

QString reasons::isFolder(const QString &path)
{
    return named(QStringLiteral("这是一个文件夹，不是文件"), path);
}

QString reasons::fileCutShort(const QString &path)
{
    return named(QStringLiteral("文件没有读完整"), path);
}

QString readFailureReason(QFileDevice::FileError kind, const QString &path)
{
    switch (kind) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return openFailureReason(path, false);
    case QFileDevice::ResourceError:
        return named(QStringLiteral("系统资源不足，无法读取文件"), path);
    default:
        return named(QStringLiteral("读取文件时出错"), path);
    }
}

QString writeFailureReason(QFileDevice::FileError kind, const QString &path)
{
    switch (kind) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return openFailureReason(path, true);
    case QFileDevice::ResourceError:
        return reasons::diskFull();
    case QFileDevice::RenameError:
        return named(QStringLiteral("新内容无法替换原文件，文件可能正被其他程序使用"), path);
    default:
        return named(QStringLiteral("写入文件时出错"), path);
    }
}

QString removeFailureReason(const QString &path)
{
    const QFileInfo file(path);
    if (!QFileInfo(file.absolutePath()).isWritable())
        return named(QStringLiteral("文件夹不允许删除文件"), file.absolutePath());
    return named(QStringLiteral("文件无法删除，可能正被其他程序使用"), path);
}

} // namespace velmora
