#include "records/program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace velmora {

bool isWritableFolder(const QString &folder)
{
    // Permissions alone do not tell (network shares, read-only media): try it.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".velmora-write-test-XXXXXX")));
    return probe.open();
}

bool isInstalledCopy(const QString &executableFolder)
{
    const QDir folder(executableFolder);
    return QFileInfo::exists(folder.filePath(QStringLiteral("../share/applications/velmora.desktop")))
        || QFileInfo::exists(folder.filePath(QString::fromLatin1(InstalledMarker)));
}

bool isBuildTreeCopy(const QString &executableFolder)
{
    return QFileInfo::exists(QDir(executableFolder).filePath(QString::fromLatin1(BuildTreeMarker)));
}

std::optional<QString> chooseProgramFolder(const QString &executableFolder, const QString &userDataFolder,
                                           QString *error)
{
    const bool portable = !isInstalledCopy(executableFolder) && !isBuildTreeCopy(executableFolder);
    if (portable && isWritableFolder(executableFolder))
        return executableFolder;
    if (!userDataFolder.isEmpty() && QDir().mkpath(userDataFolder) && isWritableFolder(userDataFolder))
        return userDataFolder;
    if (error)
        *error = QStringLiteral("%1; %2").arg(QDir::toNativeSeparators(executableFolder),
                                              QDir::toNativeSeparators(userDataFolder));
    return std::nullopt;
}

} // namespace velmora
