#include "data_folder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace velmora {

DataFolder::DataFolder(QString folder)
    : m_folder(std::move(folder))
{
}

QString DataFolder::userListPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("yonghu.dat"));
}

QString DataFolder::RecordFilePath(const QString &user) const
{
    return QDir(m_folder).filePath(user + QStringLiteral(".dat"));
}

bool DataFolder::RecordFileExists(const QString &user) const
{
    return fileExists(RecordFilePath(user));
}

FileResult DataFolder::ensureUserList() const
{
    if (fileExists(userListPath()))
        return {};
    return save(userListPath(), [](QIODevice &) { return true; });
}

int DataFolder::removeLeftoverSaves() const
{
    static const QRegularExpression leftover(QStringLiteral("^.+\\.dat\\.[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QDir dir(m_folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.dat.??????")}, QDir::Files | QDir::Hidden)) {
        if (leftover.match(name).hasMatch() && QFile::remove(dir.filePath(name)))
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
    if (RecordFileExists(user))
        return {};
    return save(RecordFilePath(user), [](QIODevice &) { return true; });
}

FileResult DataFolder::deleteRecordFile(const QString &user) const
{
    QFile file(RecordFilePath(user));
    if (!file.exists() || file.remove())
        return {};
    return FileResult::failure(file.errorString());
}

ReadResult DataFolder::readRecordFile(const QString &user, RecordTable &table, const EntryHook &hook) const
{
    QString error;
    const auto content = read(RecordFilePath(user), &error);
    return readRecords(content, error, table, hook);
}

FileResult DataFolder::RewriteRecordFile(const QString &user, const RecordTable &table, int count,
                                         RewriteMode mode, const HealthRecord *appended) const
{
    return save(RecordFilePath(user), [&](QIODevice &device) {
        return writeRecords(device, table, count, mode, appended);
    });
}

std::optional<QByteArray> DataFolder::read(const QString &path, QString *error) const
{
    return readWholeFile(path, error);
}

FileResult DataFolder::save(const QString &path, const ContentWriter &write) const
{
    return saveFile(path, write);
}

} // namespace velmora
