// The Diary's backups: made by hand into a folder the person chooses, once a
// day into the program folder, and brought back after a check of every file.

#include "diary/diary.h"

#include "backup/backup_archive.h"
#include "backup/backup_check.h"
#include "diary/messages.h"
#include "records/file_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

namespace velmora {

namespace {

const QString DayFormat = QStringLiteral("yyyy年MM月dd日");

// "125 条记录、40 次血压读数": what a user's files hold, by the count each file's name gives.
QString countsOfUser(const QString &user, const std::function<std::optional<qsizetype>(const QString &)> &countOf)
{
    QStringList counts;
    for (const UserFile kind : AllUserFiles)
        if (const std::optional<qsizetype> count = countOf(user + userFileSuffix(kind)))
            counts << QStringLiteral("%1 %2").arg(*count).arg(entryUnit(kind));
    return counts.join(u'、');
}

// "共 2 位用户：张三 125 条记录、40 次血压读数；李四 12 条记录。" for a backup made.
QString contentsOf(const Manifest &manifest)
{
    QStringList users;
    for (const QString &user : manifest.users())
        users << QStringLiteral("%1 %2").arg(user, countsOfUser(user, [&](const QString &name) {
                     const ManifestEntry *file = manifest.find(name);
                     return file ? std::optional<qsizetype>(file->count) : std::nullopt;
                 }));
    return users.isEmpty() ? QStringLiteral("日记中没有用户。")
                           : QStringLiteral("共 %1 位用户：%2。").arg(users.size()).arg(users.join(QStringLiteral("；")));
}

// The users of a checked backup with what each of them has intact.
QStringList userLines(const BackupCheck &backup)
{
    QStringList lines;
    for (const QString &user : backup.users()) {
        const QString counts = countsOfUser(user, [&](const QString &name) {
            const CheckedFile *file = backup.find(name);
            return file ? std::optional<qsizetype>(file->count) : std::nullopt;
        });
        lines << QStringLiteral("%1 %2").arg(user, counts.isEmpty() ? QStringLiteral("（文件已损坏）") : counts);
    }
    return lines;
}

// "张三：新增 3 条记录；李四：加回日记，125 条记录".
QString gainsText(const std::vector<UserGain> &gains)
{
    QStringList users;
    for (const UserGain &gain : gains) {
        QStringList got;
        for (const auto &[count, unit] : {std::pair{gain.records, entryUnit(UserFile::Records)},
                                          std::pair{gain.readings, entryUnit(UserFile::BloodPressure)},
                                          std::pair{gain.answers, entryUnit(UserFile::CvdAnswers)},
                                          std::pair{gain.medicines, entryUnit(UserFile::Medicines)}})
            if (count > 0)
                got << QStringLiteral("%1 %2").arg(count).arg(unit);
        const QString what = got.isEmpty() ? QStringLiteral("没有缺少的内容") : got.join(u'、');
        users << (gain.added ? QStringLiteral("%1：加回日记，%2").arg(gain.user, what)
                             : QStringLiteral("%1：新增 %2").arg(gain.user, what));
    }
    return users.join(QStringLiteral("；")) + u'。';
}

bool samePlace(const QString &a, const QString &b)
{
    return !a.isEmpty() && !b.isEmpty() && QDir::cleanPath(QFileInfo(a).absoluteFilePath())
                                               == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace

Outcome Diary::backUpTo(const QString &folder)
{
    if (!QFileInfo(folder).isDir()) {
        m_messages.inform(messages::backupFailed(
            QStringLiteral("文件夹不存在：%1").arg(QDir::toNativeSeparators(folder))));
        return Outcome::nothing();
    }
    QString path;
    Manifest made;
    if (const FileResult written = backUpInto(m_folder, folder, m_clock(), BackupOccasion::Plain, &path, &made);
        !written) {
        m_messages.inform(messages::backupFailed(written.error));
        return Outcome::nothing();
    }
    m_messages.inform(messages::backedUp(path, contentsOf(made)));
    BackupState state = m_backups.state();
    if (samePlace(folder, state.secondFolder) || samePlace(folder, m_backups.folderPath())
        || samePlace(folder, m_folder.folder()) || !m_messages.ask(messages::offerSecondFolder(folder)))
        return Outcome::nothing();
    state.secondFolder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (const FileResult saved = m_backups.saveState(state); !saved)
        m_messages.inform(messages::secondFolderNotKept(saved.error));
    return Outcome::nothing();
}

Outcome Diary::backUpDailyIfDue()
{
    const std::optional<DailyBackup> daily = m_backups.dailyIfDue(m_clock());
    if (daily && daily->tellFailing)
        m_messages.inform(messages::backupsFailing(daily->state.failingSince.toString(DayFormat), daily->state.failure));
    return Outcome::nothing();
}

Outcome Diary::restoreBackup(const QString &path, RestoreChoice &choice)
{
    const std::optional<BackupCheck> backup = checkedBackup(path);
    if (!backup)
        return Outcome::nothing();
    const QString made = backup->manifest.made.toString(QStringLiteral("yyyy年MM月dd日 HH:mm:ss"));
    const std::optional<RestoreRequest> request =
        choice.choose(messages::restoreSummary(made, userLines(*backup), backup->damagedText()), backup->users(),
                      backup->isComplete());
    if (!request)
        return Outcome::nothing();
    const std::optional<RestorePlan> plan = planRestore(*backup, *request);
    if (!plan)
        return Outcome::nothing();
    const QString what = request->wholeDiary ? QStringLiteral("日记已换成 %1 的备份（%2 位用户）。")
                                                   .arg(made)
                                                   .arg(backup->users().size())
                                             : gainsText(plan->gains);
    if (!restoreAfterBackup(what, plan->changes))
        return Outcome::nothing();
    return Outcome::diaryRestored();
}

// The backup at `path` checked whole; nothing when it cannot be used at all (a message has said why).
std::optional<BackupCheck> Diary::checkedBackup(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_messages.inform(messages::backupUnreadable(readFailureReason(file.error(), path)));
        return std::nullopt;
    }
    BackupCheck backup = checkBackup(file);
    if (!backup.refusal.isEmpty()) {
        m_messages.inform(messages::backupRefused(backup.refusal));
        return std::nullopt;
    }
    return backup;
}

// What the restore asked for would change; nothing when there is nothing to
// do or it cannot be done (a message has said why).
std::optional<RestorePlan> Diary::planRestore(const BackupCheck &backup, const RestoreRequest &request)
{
    if (!request.wholeDiary && request.users.isEmpty()) {
        m_messages.inform(messages::NoUsersChosen);
        return std::nullopt;
    }
    const QStringList users = request.wholeDiary ? backup.users() : request.users;
    if (const QStringList unlisted = unlistedFilesReplaced(m_folder, backup, users);
        !unlisted.isEmpty() && !m_messages.ask(messages::replacesUnlisted(unlisted)))
        return std::nullopt;
    QString error;
    std::optional<RestorePlan> plan = request.wholeDiary ? planWholeDiary(m_folder, backup, &error)
                                                         : planChosenUsers(m_folder, backup, users, &error);
    if (!plan)
        m_messages.inform(messages::restoreFailed(error));
    else if (plan->changes.empty())
        m_messages.inform(messages::NothingToRestore);
    if (!plan || plan->changes.empty())
        return std::nullopt;
    return plan;
}

// Backs the diary up as it is, then makes the changes; true when both worked.
bool Diary::restoreAfterBackup(const QString &what, const std::vector<FileChange> &changes)
{
    QString safetyBackup;
    if (const FileResult saved = m_backups.beforeRestore(m_clock(), &safetyBackup); !saved) {
        m_messages.inform(messages::restoreNotBackedUp(saved.error));
        return false;
    }
    if (const FileResult applied = applyRestore(m_folder, changes); !applied) {
        m_messages.inform(messages::restoreFailed(applied.error));
        return false;
    }
    showRestoredDiary();
    m_messages.inform(messages::restored(what, safetyBackup));
    return true;
}

// As after a deletion: no user is chosen, nothing is shown, nothing is left to undo.
void Diary::showRestoredDiary()
{
    m_undo = UndoHistory();
    m_readings = {};
    setMarks({});
    reloadUserNames();
    clearRecordColumn();
    m_shownUser.clear();
    setCurrentUser(QString());
    dropTable();
    m_markerTop = menu::MarkerHomeTop;
    m_entryEnabled = false;
}

} // namespace velmora
