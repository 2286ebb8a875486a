#include "backup/auto_backup.h"

#include "archive/zip_archive.h"
#include "backup/backup_archive.h"
#include "backup/backup_check.h"
#include "backup/diary_files.h"
#include "backup/thinning.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace velmora {

namespace {

bool hasUsers(const DataFolder &folder)
{
    QString error;
    const std::optional<UserNames> names = folder.loadUserNames(&error);
    return names && !fileUsers(*names).isEmpty();
}

} // namespace

QString AutoBackups::folderPath() const
{
    return QDir(m_folder.folder()).filePath(AutomaticBackupFolder);
}

BackupState AutoBackups::state() const
{
    const QString path = QDir(m_folder.folder()).filePath(BackupStateFileName);
    QString error;
    const std::optional<QByteArray> content = fileExists(path) ? m_folder.read(path, &error) : std::nullopt;
    return content ? readBackupState(*content) : BackupState{};
}

FileResult AutoBackups::saveState(const BackupState &state) const
{
    const std::optional<QByteArray> content = backupStateContent(state);
    if (!content)
        return FileResult::failure(QStringLiteral("文件夹的名字中有无法保存的字符：%1").arg(state.secondFolder));
    return m_folder.save(QDir(m_folder.folder()).filePath(BackupStateFileName),
                         [&](QIODevice &device) { return writeAll(device, *content); });
}

std::optional<DailyBackup> AutoBackups::dailyIfDue(const QDateTime &now)
{
    const QDate today = now.date();
    if (m_triedOn == today)
        return std::nullopt;
    DailyBackup daily;
    daily.state = state();
    if (daily.state.lastMade == today) {
        m_triedOn = today;
        return std::nullopt;
    }
    if (!hasUsers(m_folder))
        return std::nullopt; // the first user added today brings it
    m_triedOn = today;
    daily.result = backUp(now, BackupOccasion::Plain, &daily.path);
    BackupState &state = daily.state;
    if (daily.result) {
        thin(folderPath());
        const QString second = state.secondFolder;
        if (!second.isEmpty() && QFileInfo(second).isDir() && backUpInto(m_folder, second, now, BackupOccasion::Plain))
            thin(second);
        state = {second, today, {}, {}, false};
    } else {
        if (!state.failingSince.isValid())
            state.failingSince = today;
        state.failure = daily.result.error;
        daily.tellFailing = !state.toldFailing && state.failingSince.daysTo(today) >= FailingDaysTold - 1;
        state.toldFailing = state.toldFailing || daily.tellFailing;
    }
    saveState(state); // a folder too full for this small file has said so at every change
    return daily;
}

FileResult AutoBackups::beforeRestore(const QDateTime &now, QString *path) const
{
    return backUp(now, BackupOccasion::BeforeRestore, path);
}

FileResult AutoBackups::backUp(const QDateTime &now, BackupOccasion occasion, QString *path) const
{
    const QString folder = folderPath();
    const bool existed = QFileInfo(folder).isDir();
    if (!existed && !QDir().mkpath(folder))
        return FileResult::failure(QStringLiteral("无法建立备份文件夹：%1").arg(QDir::toNativeSeparators(folder)));
    const FileResult made = backUpInto(m_folder, folder, now, occasion, path);
    if (!made && !existed)
        QDir().rmdir(folder); // a failed backup leaves nothing, not even its folder
    return made;
}

std::vector<BackupListing> AutoBackups::list() const
{
    std::vector<BackupListing> listings;
    for (const BackupOnDisk &backup : backupsIn(folderPath()))
        listings.push_back(listingOf(backup.path));
    return listings;
}

void AutoBackups::thin(const QString &folder) const
{
    // What a backup cut short by a crash left there goes as well.
    QDirIterator leftovers(folder, QDir::Files | QDir::Hidden);
    while (leftovers.hasNext())
        if (isTemporarySaveName(QFileInfo(leftovers.next()).fileName()))
            removeFile(leftovers.filePath());
    const std::vector<BackupOnDisk> backups = backupsIn(folder);
    std::vector<DatedBackup> dated;
    for (const BackupOnDisk &backup : backups)
        dated.push_back({backup.day, backup.size});
    const std::vector<bool> keep = backupsToKeep(dated);
    for (size_t i = 0; i < backups.size(); ++i)
        if (!keep[i])
            QFile::remove(backups[i].path);
}

BackupListing listingOf(const QString &path)
{
    BackupListing listing{path, {}, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        listing.contents = QStringLiteral("无法打开");
        return listing;
    }
    ZipReader reader(file);
    const qsizetype index = reader.find([](const ZipEntryInfo &e) { return e.name == ManifestName; });
    QString error = reader.isOpen() ? QStringLiteral("没有清单") : reader.error();
    const std::optional<QByteArray> text = index >= 0 ? reader.read(index, backup_limits::Manifest, &error) : std::nullopt;
    const std::optional<Manifest> manifest = text ? readManifest(*text, &error) : std::nullopt;
    if (!manifest) {
        listing.contents = error;
        return listing;
    }
    listing.made = manifest->made;
    QStringList users;
    for (const QString &user : manifest->users()) {
        const ManifestEntry *records = manifest->find(user + userFileSuffix(UserFile::Records));
        users << QStringLiteral("%1 %2 %3").arg(user, QString::number(records->count), entryUnit(UserFile::Records));
    }
    listing.contents = users.isEmpty() ? QStringLiteral("没有用户") : users.join(QStringLiteral("、"));
    return listing;
}

} // namespace velmora
