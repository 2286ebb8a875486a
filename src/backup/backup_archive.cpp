#include "backup/backup_archive.h"

#include "archive/zip_archive.h"
#include "backup/backup_check.h"
#include "backup/backup_names.h"
#include "backup/diary_files.h"

#include <QDir>

namespace velmora {

std::optional<Backup> makeBackup(const DataFolder &folder, const QDateTime &now, QString *error)
{
    const std::optional<UserNames> names = folder.loadUserNames(error);
    if (!names)
        return std::nullopt;
    Backup backup;
    backup.manifest.version = programVersion();
    backup.manifest.made = now.addMSecs(-now.time().msec()); // as the manifest writes it
    std::vector<ZipItem> items(1);
    for (const DiaryFile &file : diaryFiles(folder, *names)) {
        std::optional<QByteArray> content = folder.read(QDir(folder.folder()).filePath(file.name), error);
        if (!content)
            return std::nullopt;
        backup.manifest.files.push_back(manifestEntry(file.name, *content));
        items.push_back({file.name, std::move(*content), backup.manifest.made});
    }
    items.front() = {ManifestName, manifestText(backup.manifest), backup.manifest.made};
    std::optional<QByteArray> zip = zipArchive(items, error);
    if (!zip)
        return std::nullopt;
    backup.zip = std::move(*zip);
    return backup;
}

FileResult writeBackup(const QString &path, const Backup &backup, const SaveFaults &faults)
{
    const auto write = [&](QIODevice &device) { return writeAll(device, backup.zip); };
    const auto check = [&](QIODevice &written) -> QString {
        const BackupCheck found = checkBackup(written);
        if (!found.refusal.isEmpty())
            return QStringLiteral("写入的备份读回时无法使用（%1）").arg(found.refusal);
        if (!found.damaged.empty())
            return QStringLiteral("写入的备份读回时与清单不符：%1").arg(found.damagedText());
        // The files, not the time: a local time read back in the hour a clock
        // turns back may name the other of its two instants.
        if (found.manifest.files != backup.manifest.files)
            return QStringLiteral("写入的备份读回时清单不同");
        return QString();
    };
    return saveFile(path, write, faults, NewFileAccess::OwnerOnly, check);
}

FileResult backUpInto(const DataFolder &diary, const QString &folder, const QDateTime &now, BackupOccasion occasion,
                      QString *path, Manifest *made)
{
    QString error;
    const std::optional<Backup> backup = makeBackup(diary, now, &error);
    if (!backup)
        return FileResult::failure(error);
    const QString target = freeBackupPath(folder, backupFileName(backup->manifest.users(), now.date(), occasion));
    const FileResult written = writeBackup(target, *backup);
    if (written && path)
        *path = target;
    if (written && made)
        *made = backup->manifest;
    return written;
}

} // namespace velmora
