#include "records/data_folder.h"

#include "records/file_errors.h"
#include "records/gbk.h"
#include "records/user_name.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <algorithm>
#include <utility>
#include <vector>

namespace velmora {

namespace {

FileResult changedSinceRead()
{
    FileResult changed = FileResult::failure(QStringLiteral("文件在读取之后被改动过"));
    changed.changedOutside = true;
    return changed;
}

} // namespace

DataFolder::DataFolder(QString folder)
    : m_folder(std::move(folder))
{
}

QString DataFolder::userListPath() const
{
    return QDir(m_folder).filePath(UserListFileName.toString());
}

QString userFileSuffix(UserFile file)
{
    switch (file) {
    case UserFile::Records:
        return QStringLiteral(".dat");
    case UserFile::CvdAnswers:
        return QStringLiteral(".cvd");
    case UserFile::BloodPressure:
        return QStringLiteral(".bp");
    case UserFile::Medicines:
        return QStringLiteral(".med");
    }
    return QString();
}

QString DataFolder::RecordFilePath(const QString &user) const
{
    return userFilePath(user, UserFile::Records);
}

QString DataFolder::userFilePath(const QString &user, UserFile file) const
{
    return QDir(m_folder).filePath(user + userFileSuffix(file));
}

FileResult DataFolder::refuseUnsafe(const QString &user) const
{
    if (isSafeUserName(user))
        return {};
    return FileResult::failure(QStringLiteral("该用户名不能用作文件名：%1").arg(user));
}

bool DataFolder::RecordFileExists(const QString &user) const
{
    return isSafeUserName(user) && fileExists(RecordFilePath(user));
}

FileResult DataFolder::ensureUserList() const
{
    if (fileExists(userListPath()))
        return {};
    return save(userListPath(), [](QIODevice &) { return true; });
}

int DataFolder::removeLeftoverSaves() const
{
    // No name filter: it would compile a regular expression at every start.
    int removed = 0;
    QDirIterator entries(m_folder, QDir::Files | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        if (isTemporarySaveName(entries.fileName()) && removeFile(entries.filePath()))
            ++removed;
    }
    return removed;
}

std::optional<UserNames> DataFolder::loadUserNames(QString *error) const
{
    const auto content = read(userListPath(), error);
    if (!content)
        return std::nullopt;
    return readUserNames(*content);
}

FileResult DataFolder::appendUserName(const QByteArray &name) const
{
    QString error;
    auto names = loadUserNames(&error);
    if (!names)
        return FileResult::failure(error);
    names->push_back(name);
    return save(userListPath(), [&](QIODevice &device) { return writeUserNames(device, *names); });
}

FileResult DataFolder::removeUserName(const QByteArray &name) const
{
    QString error;
    auto names = loadUserNames(&error);
    if (!names)
        return FileResult::failure(error);
    std::erase(*names, name);
    return save(userListPath(), [&](QIODevice &device) { return writeUserNames(device, *names); });
}

FileResult DataFolder::createRecordFileIfMissing(const QString &user) const
{
    if (FileResult refused = refuseUnsafe(user); !refused)
        return refused;
    if (RecordFileExists(user))
        return {};
    return save(RecordFilePath(user), [](QIODevice &) { return true; });
}

FileResult DataFolder::addUser(const QString &user) const
{
    if (FileResult refused = refuseUnsafe(user); !refused)
        return refused;
    const bool existed = RecordFileExists(user);
    if (FileResult created = createRecordFileIfMissing(user); !created)
        return created;
    FileResult listed = appendUserName(gbk(user));
    if (!listed && !existed)
        QFile::remove(RecordFilePath(user));
    return listed;
}

FileResult DataFolder::deleteUser(const QString &user) const
{
    if (FileResult refused = refuseUnsafe(user); !refused)
        return refused;
    // The files are first moved aside under temporary names: that tells
    // whether they can go at all, and can be undone if the list cannot be
    // rewritten.
    std::vector<std::pair<QString, QString>> moved; // where each file was, where it is
    const auto putBack = [&] {
        for (const auto &[path, aside] : moved)
            moveFile(aside, path);
    };
    for (const UserFile file : AllUserFiles) {
        const QString path = userFilePath(user, file);
        if (!fileExists(path))
            continue;
        const QString aside = freeTemporaryNameBeside(path);
        if (!moveFile(path, aside)) {
            putBack();
            return FileResult::failure(removeFailureReason(path));
        }
        moved.emplace_back(path, aside);
    }
    if (FileResult unlisted = removeUserName(gbk(user)); !unlisted) {
        putBack();
        return unlisted;
    }
    for (const auto &[path, aside] : moved)
        removeFile(aside); // should this fail, the next start removes it
    return {};
}

QString DataFolder::cvdAnswersPath(const QString &user) const
{
    return userFilePath(user, UserFile::CvdAnswers);
}

std::optional<CvdAnswers> DataFolder::loadCvdAnswers(const QString &user, QString *error) const
{
    if (FileResult refused = refuseUnsafe(user); !refused) {
        *error = refused.error;
        return std::nullopt;
    }
    const QString path = cvdAnswersPath(user);
    if (!fileExists(path))
        return CvdAnswers{};
    const auto content = read(path, error);
    if (!content)
        return std::nullopt;
    return readCvdAnswers(*content);
}

FileResult DataFolder::saveCvdAnswers(const QString &user, const CvdAnswers &answers) const
{
    if (FileResult refused = refuseUnsafe(user); !refused)
        return refused;
    return save(cvdAnswersPath(user), [&](QIODevice &device) { return writeCvdAnswers(device, answers); });
}

ReadResult DataFolder::readRecordFile(const QString &user, RecordTable &table, const EntryHook &hook) const
{
    if (FileResult refused = refuseUnsafe(user); !refused) {
        ReadResult result;
        static_cast<FileResult &>(result) = refused;
        return result;
    }
    QString error;
    const auto content = read(RecordFilePath(user), &error);
    return readRecords(content, error, table, hook);
}

FileResult DataFolder::RewriteRecordFile(const QString &user, const FileFingerprint &readAs, const RecordTable &table,
                                         int count, RewriteMode mode, const HealthRecord *appended,
                                         QByteArray *replaced) const
{
    FormerContent former;
    const FileResult saved = rewriteUserFile(
        user, UserFile::Records, readAs,
        [&](QIODevice &device) { return writeRecords(device, table, count, mode, appended); }, &former);
    if (saved && replaced)
        *replaced = former.value_or(QByteArray());
    return saved;
}

std::optional<QByteArray> DataFolder::currentContent(const QString &path, QString *error, bool *absent) const
{
    if (absent) {
        *absent = !fileExists(path);
        if (*absent)
            return QByteArray();
    }
    return read(path, error);
}

std::optional<QByteArray> DataFolder::readUserFile(const QString &user, UserFile file, QString *error,
                                                   bool *absent) const
{
    if (FileResult refused = refuseUnsafe(user); !refused) {
        *error = refused.error;
        return std::nullopt;
    }
    bool missing = false;
    auto content = currentContent(userFilePath(user, file), error, &missing);
    if (absent)
        *absent = missing;
    return content;
}

FileResult DataFolder::rewriteUserFile(const QString &user, UserFile file, const FileFingerprint &readAs,
                                       const ContentWriter &write, FormerContent *replaced) const
{
    if (FileResult refused = refuseUnsafe(user); !refused)
        return refused;
    const QString path = userFilePath(user, file);
    // A record file is always there: one that is missing cannot be read.
    bool absent = false;
    QString error;
    auto now = currentContent(path, &error, file == UserFile::Records ? nullptr : &absent);
    if (!now)
        return FileResult::failure(error);
    const FileFingerprint found = absent ? FileFingerprint{} : FileFingerprint::of(*now);
    if (found != readAs)
        return changedSinceRead();
    FileResult saved = save(path, write);
    if (saved && replaced)
        *replaced = absent ? FormerContent() : FormerContent(std::move(*now));
    return saved;
}

FileResult DataFolder::restoreRecordFile(const QString &user, const FileFingerprint &readAs,
                                         const QByteArray &content) const
{
    return restoreUserFile(user, UserFile::Records, readAs, content);
}

FileResult DataFolder::restoreUserFile(const QString &user, UserFile file, const FileFingerprint &readAs,
                                       const FormerContent &content) const
{
    if (content)
        return rewriteUserFile(user, file, readAs, [&](QIODevice &device) { return writeAll(device, *content); });
    // There was no file before: it goes again, if it still holds what the change left.
    if (FileResult refused = refuseUnsafe(user); !refused)
        return refused;
    const QString path = userFilePath(user, file);
    QString error;
    bool absent = false;
    const auto now = currentContent(path, &error, &absent);
    if (!now)
        return FileResult::failure(error);
    if ((absent ? FileFingerprint{} : FileFingerprint::of(*now)) != readAs)
        return changedSinceRead();
    if (!absent && !removeFile(path))
        return FileResult::failure(removeFailureReason(path));
    return {};
}

std::optional<QByteArray> DataFolder::read(const QString &path, QString *error) const
{
    return readWholeFile(path, error);
}

bool DataFolder::moveFile(const QString &from, const QString &to) const
{
    return QFile::rename(from, to);
}

FileResult DataFolder::save(const QString &path, const ContentWriter &write) const
{
    return saveFile(path, write);
}

} // namespace velmora
