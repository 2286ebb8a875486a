#include "backup/removable_drives.h"

#include <QStorageInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QFile>
#include <QFileInfo>
#endif

namespace velmora {

namespace {

#ifdef Q_OS_WIN

std::vector<Drive> systemDrives()
{
    std::vector<Drive> drives;
    wchar_t roots[512] = {};
    const DWORD length = GetLogicalDriveStringsW(DWORD(std::size(roots) - 1), roots);
    for (const wchar_t *root = roots; length > 0 && *root; root += wcslen(root) + 1) {
        const UINT type = GetDriveTypeW(root);
        if (type != DRIVE_REMOVABLE && type != DRIVE_FIXED && type != DRIVE_REMOTE)
            continue;
        const QStorageInfo volume(QString::fromWCharArray(root));
        if (volume.isValid() && volume.isReady() && !volume.isReadOnly())
            drives.push_back({volume.rootPath(), volume.name(), type == DRIVE_REMOVABLE});
    }
    return drives;
}

#else

// The kernel's flag for the block device (/dev/sdb1) or its disk (/dev/sdb).
bool kernelSaysRemovable(const QByteArray &device)
{
    if (!device.startsWith("/dev/"))
        return false;
    const QString block = QFileInfo(QStringLiteral("/sys/class/block/") + QString::fromLocal8Bit(device.mid(5))).canonicalFilePath();
    for (const QString &flag : {block + QStringLiteral("/removable"), block + QStringLiteral("/../removable")}) {
        QFile file(flag);
        if (file.open(QIODevice::ReadOnly))
            return file.read(1) == "1";
    }
    return false;
}

std::vector<Drive> systemDrives()
{
    std::vector<Drive> drives;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly())
            continue;
        if (isRemovableMount(volume.rootPath(), kernelSaysRemovable(volume.device())))
            drives.push_back({volume.rootPath(), volume.name(), true});
    }
    return drives;
}

#endif

} // namespace

bool isRemovableMount(const QString &root, bool kernelSaysRemovable)
{
    if (root == u'/')
        return false; // a system started from a stick: not a place for backups
    return kernelSaysRemovable || root.startsWith(QStringLiteral("/media/")) || root.startsWith(QStringLiteral("/run/media/"));
}

void putRemovableFirst(std::vector<Drive> &drives)
{
    std::stable_partition(drives.begin(), drives.end(), [](const Drive &d) { return d.removable; });
}

std::vector<Drive> backupDrives()
{
    std::vector<Drive> drives = systemDrives();
    putRemovableFirst(drives);
    return drives;
}

} // namespace velmora
