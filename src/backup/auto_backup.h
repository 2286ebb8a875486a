#pragma once

// The automatic backups of a diary: once a day, at the first start or the
// first change of the day, into "备份" inside the program folder (and a copy
// into a second folder when one was chosen and is there: a USB stick that is
// not plugged in is skipped without a word); one just before every restore.
// Both folders are thinned after each daily backup (thinning.h), and what a
// backup cut short by a crash left in them goes. What they remember between
// runs is in the program folder (backup_state.h).

#include "backup/backup_names.h"
#include "backup/backup_state.h"
#include "records/data_folder.h"

#include <QDateTime>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora {

// A daily backup tried.
struct DailyBackup
{
    FileResult result; // of the backup into the program folder
    QString path;      // where it went
    // Automatic backups have failed for seven days in a row and no message
    // has said so yet: say it now (with the state's day and reason).
    bool tellFailing = false;
    BackupState state; // as it is now
};

// A backup as the restore lists it, from its manifest.
struct BackupListing
{
    QString path;
    QDateTime made;    // invalid when the manifest cannot be read
    QString contents;  // "张三 125 条记录、李四 12 条记录", or why it cannot be read
};

class AutoBackups
{
public:
    // Seven days in a row without a daily backup made.
    static constexpr int FailingDaysTold = 7;

    explicit AutoBackups(const DataFolder &folder) : m_folder(folder) {}

    QString folderPath() const;
    BackupState state() const;
    FileResult saveState(const BackupState &state) const;

    // Today's backup, unless one was made today, one was tried in this run
    // today, or the diary has no users (there is nothing to keep).
    std::optional<DailyBackup> dailyIfDue(const QDateTime &now);
    // One more, now, before a restore.
    FileResult beforeRestore(const QDateTime &now, QString *path) const;
    // The backups of the automatic folder, newest first.
    std::vector<BackupListing> list() const;

private:
    FileResult backUp(const QDateTime &now, BackupOccasion occasion, QString *path) const;
    void thin(const QString &folder) const;

    const DataFolder &m_folder;
    QDate m_triedOn;
};

// What a backup holds, from its manifest only (the restore checks the rest).
BackupListing listingOf(const QString &path);

} // namespace velmora
