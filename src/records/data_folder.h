#pragma once

#include "record_file.h"
#include "text_file.h"
#include "user_list.h"

#include <QString>

#include <optional>

namespace velmora {

// The program folder with the user list and one record file per user. Every
// file the program writes goes through save() and every file it reads through
// read(), which tests replace to inject failures.
class DataFolder
{
public:
    explicit DataFolder(QString folder);
    virtual ~DataFolder() = default;

    const QString &folder() const { return m_folder; }
    QString userListPath() const;
    QString RecordFilePath(const QString &user) const;
    bool RecordFileExists(const QString &user) const;

    // Creates an empty user list when there is none.
    FileResult ensureUserList() const;
    // Removes what saves cut short by a crash left beside their files
    // ("yonghu.dat.AbC123"); the files themselves are always whole.
    int removeLeftoverSaves() const;
    std::optional<UserNames> loadUserNames(QString *error) const;
    // Rewrites the list with the name added last.
    FileResult appendUserName(const QByteArray &name) const;
    // Rewrites the list without any copy of the name; other names keep their bytes.
    FileResult removeUserName(const QByteArray &name) const;

    // Creates an empty record file unless one exists already (its records are kept).
    FileResult createRecordFileIfMissing(const QString &user) const;
    // Removing a file that is not there is no failure.
    FileResult deleteRecordFile(const QString &user) const;

    ReadResult readRecordFile(const QString &user, RecordTable &table, const EntryHook &hook = {}) const;
    FileResult RewriteRecordFile(const QString &user, const RecordTable &table, int count, RewriteMode mode,
                                 const HealthRecord *appended = nullptr) const;

    // Atomic rewrite of one file of the folder.
    virtual FileResult save(const QString &path, const ContentWriter &write) const;
    // The whole content of one file of the folder, or nothing when it cannot be read.
    virtual std::optional<QByteArray> read(const QString &path, QString *error) const;

private:
    QString m_folder;
};

} // namespace velmora
