#include "backup/restore_plan.h"

#include "medicines/medicine_file.h"
#include "readings/bp_file.h"
#include "records/cvd_answers.h"
#include "records/gbk.h"
#include "records/record_file.h"
#include "records/time_order.h"

#include <QBuffer>
#include <QDir>
#include <QSet>

namespace velmora {

namespace {

// The content a writer makes, or nothing when it fails.
template <typename Write>
std::optional<QByteArray> written(Write write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer))
        return std::nullopt;
    return buffer.data();
}

struct Merged
{
    std::optional<QByteArray> content; // nothing: the file stays as it is
    qsizetype gained = 0;
};

std::vector<HealthRecord> recordsOf(QByteArrayView content)
{
    RecordTable table;
    const int count = readRecords(content, table);
    return tableEntries(table, count);
}

// Records whose RecordId the file lacks (a record of the same time with
// other values stays as the file has it, as an import leaves it).
Merged mergeRecords(QByteArrayView now, QByteArrayView backup)
{
    std::vector<HealthRecord> entries = recordsOf(now);
    QSet<QString> ids;
    for (const HealthRecord &entry : entries)
        ids.insert(entry[RecordIdField].displayText());
    std::vector<HealthRecord> added;
    for (HealthRecord &record : recordsOf(backup)) {
        const QString id = record[RecordIdField].displayText();
        const bool present = id.isEmpty() ? std::find(entries.begin(), entries.end(), record) != entries.end()
                                          : ids.contains(id);
        if (present)
            continue;
        ids.insert(id);
        added.push_back(std::move(record));
    }
    if (added.empty())
        return {};
    const qsizetype gained = qsizetype(added.size());
    insertInTimeOrder(entries, std::move(added));
    const int count = int(entries.size());
    const RecordTable table = tableOf(std::move(entries));
    return {written([&](QIODevice &d) { return writeRecords(d, table, count, RewriteMode::Modify); }), gained};
}

// The entries of a file of dated lines (readings, medicine events) that it
// lacks, each in its place in time; its own entries and the lines it cannot
// read stay as they are.
template <typename Entry>
Merged mergeLines(QByteArrayView now, QByteArrayView backup, LineFile<Entry> (*read)(QByteArrayView),
                  std::optional<QByteArray> (*content)(const LineFile<Entry> &))
{
    LineFile<Entry> file = read(now);
    std::vector<Entry> added;
    for (Entry &entry : read(backup).entries)
        if (std::find(file.entries.begin(), file.entries.end(), entry) == file.entries.end())
            added.push_back(std::move(entry));
    if (added.empty())
        return {};
    const qsizetype gained = qsizetype(added.size());
    file.insert(std::move(added));
    return {content(file), gained};
}

// The questions the file leaves unanswered, answered as the backup answers them.
Merged mergeAnswers(QByteArrayView now, QByteArrayView backup)
{
    CvdAnswers answers = readCvdAnswers(now);
    const CvdAnswers before = answers;
    const CvdAnswers backed = readCvdAnswers(backup);
    qsizetype gained = 0;
    for (std::optional<bool> CvdAnswers::*question :
         {&CvdAnswers::smokes, &CvdAnswers::diabetes, &CvdAnswers::hadHeartAttackOrStroke}) {
        if (!(answers.*question) && backed.*question) {
            answers.*question = backed.*question;
            ++gained;
        }
    }
    if (answers == before)
        return {};
    return {written([&](QIODevice &d) { return writeCvdAnswers(d, answers); }), gained};
}

Merged merge(UserFile kind, QByteArrayView now, QByteArrayView backup)
{
    switch (kind) {
    case UserFile::Records:
        return mergeRecords(now, backup);
    case UserFile::CvdAnswers:
        return mergeAnswers(now, backup);
    case UserFile::BloodPressure:
        return mergeLines(now, backup, readBpFile, bpFileContent);
    case UserFile::Medicines:
        return mergeLines(now, backup, readMedicineFile, medicineFileContent);
    }
    return {};
}

qsizetype &gainOf(UserGain &gain, UserFile kind)
{
    switch (kind) {
    case UserFile::Records:
        return gain.records;
    case UserFile::CvdAnswers:
        return gain.answers;
    case UserFile::BloodPressure:
        return gain.readings;
    case UserFile::Medicines:
        break;
    }
    return gain.medicines;
}

class Planner
{
public:
    Planner(const DataFolder &folder, QString *error) : m_folder(folder), m_error(error) {}

    // Replaces or removes one file; false when it cannot be read.
    bool change(const QString &path, const std::optional<QByteArray> &content)
    {
        bool absent = false;
        const std::optional<QByteArray> now = m_folder.currentContent(path, m_error, &absent);
        if (!now)
            return false;
        if (absent ? !content : content == now)
            return true;
        m_plan.changes.push_back({path, absent ? FileFingerprint{} : FileFingerprint::of(*now), content});
        return true;
    }

    // Merges a file of a user on the list; false when it cannot be read.
    bool merge(const QString &path, UserFile kind, const CheckedFile &backed, UserGain &gain)
    {
        bool absent = false;
        const std::optional<QByteArray> now = m_folder.currentContent(path, m_error, &absent);
        if (!now)
            return false;
        if (absent) {
            gainOf(gain, kind) += backed.count;
            m_plan.changes.push_back({path, {}, backed.content});
            return true;
        }
        Merged merged = velmora::merge(kind, *now, backed.content);
        if (merged.content) {
            gainOf(gain, kind) += merged.gained;
            m_plan.changes.push_back({path, FileFingerprint::of(*now), std::move(merged.content)});
        }
        return true;
    }

    QString path(const QString &name) const { return QDir(m_folder.folder()).filePath(name); }
    RestorePlan &plan() { return m_plan; }

private:
    const DataFolder &m_folder;
    QString *m_error;
    RestorePlan m_plan;
};

std::optional<RestorePlan> failed(QString *error, const QString &reason)
{
    *error = reason;
    return std::nullopt;
}

} // namespace

std::optional<RestorePlan> planWholeDiary(const DataFolder &folder, const BackupCheck &backup, QString *error)
{
    if (!backup.isComplete())
        return failed(error, QStringLiteral("备份不完整，不能用它替换整个日记"));
    const std::optional<UserNames> names = folder.loadUserNames(error);
    if (!names)
        return std::nullopt;
    Planner planner(folder, error);
    for (const CheckedFile &file : backup.files)
        if (!file.file.isUserList() && !planner.change(planner.path(file.file.name), file.content))
            return std::nullopt;
    for (const DiaryFile &file : diaryFiles(folder, *names))
        if (!file.isUserList() && !backup.find(file.name) && !planner.change(planner.path(file.name), std::nullopt))
            return std::nullopt;
    if (!planner.change(folder.userListPath(), backup.find(UserListFileName.toString())->content))
        return std::nullopt;
    return std::move(planner.plan());
}

std::optional<RestorePlan> planChosenUsers(const DataFolder &folder, const BackupCheck &backup,
                                           const QStringList &users, QString *error)
{
    std::optional<UserNames> names = folder.loadUserNames(error);
    if (!names)
        return std::nullopt;
    const QStringList listed = fileUsers(*names);
    Planner planner(folder, error);
    for (const QString &user : users) {
        if (!backup.users().contains(user))
            return failed(error, QStringLiteral("备份中没有用户“%1”").arg(user));
        for (const QString &other : listed)
            if (other != user && other.compare(user, Qt::CaseInsensitive) == 0)
                return failed(error, QStringLiteral("日记中已有用户“%1”，与备份中的“%2”只有大小写不同").arg(other, user));
        UserGain gain{user, !listed.contains(user)};
        for (const UserFile kind : AllUserFiles) {
            const CheckedFile *backed = backup.find(user + userFileSuffix(kind));
            if (backed && !planner.merge(folder.userFilePath(user, kind), kind, *backed, gain))
                return std::nullopt;
        }
        // A user has a record file, if an empty one.
        if (!backup.find(user + userFileSuffix(UserFile::Records)) && !fileExists(folder.RecordFilePath(user))
            && !planner.change(folder.RecordFilePath(user), QByteArray()))
            return std::nullopt;
        if (gain.added)
            names->push_back(gbk(user));
        planner.plan().gains.push_back(gain);
    }
    if (std::any_of(users.begin(), users.end(), [&](const QString &u) { return !listed.contains(u); })) {
        const std::optional<QByteArray> list = written([&](QIODevice &d) { return writeUserNames(d, *names); });
        if (!planner.change(folder.userListPath(), list))
            return std::nullopt;
    }
    return std::move(planner.plan());
}

QStringList unlistedFilesReplaced(const DataFolder &folder, const BackupCheck &backup, const QStringList &users)
{
    QString error;
    const std::optional<UserNames> names = folder.loadUserNames(&error);
    const QStringList listed = names ? fileUsers(*names) : QStringList();
    QStringList replaced;
    for (const CheckedFile &file : backup.files)
        if (users.contains(file.file.user) && !listed.contains(file.file.user)
            && fileExists(QDir(folder.folder()).filePath(file.file.name)))
            replaced << file.file.name;
    return replaced;
}

} // namespace velmora
