#pragma once

// The files of a diary as a backup holds them, and what each of them holds,
// counted with the program's own readers.

#include "records/data_folder.h"
#include "records/user_list.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace velmora {

// One file of the diary, named as in the program folder and in a backup.
struct DiaryFile
{
    QString name;                 // "yonghu.dat", "张三.dat", "张三.bp", ...
    QString user;                 // whose file it is; empty for the user list
    std::optional<UserFile> kind; // nothing for the user list

    bool isUserList() const { return !kind; }
    bool operator==(const DiaryFile &) const = default;
};

// The file a bare name stands for: the user list, or a file of a user whose
// name can name a file; nothing for any other name (a path, a folder, a
// temporary save, a name no user could have).
std::optional<DiaryFile> diaryFileNamed(const QString &name);

// The diary's files: the user list, then for each user on it (once, in list
// order) every file of the user that exists, in the order of AllUserFiles.
// A listed name that cannot name a file stays on the list (its bytes are
// kept) but has no files. Files of users who are not on the list are left
// out: the program never reads them, so they are no part of the diary.
std::vector<DiaryFile> diaryFiles(const DataFolder &folder, const UserNames &names);

// The users of a list whose names can name a file, once each, in list order.
QStringList fileUsers(const UserNames &names);

// How many entries a file of this kind holds, read with the program's reader
// of it: the names of the user list, the records, the answered questions of
// the ten-year risk, the blood pressure readings, the medicines' lines. One
// reader a kind, in one table.
qsizetype countEntries(const std::optional<UserFile> &kind, QByteArrayView content);
// What the count counts, written after the number: "位用户", "条记录", ...
QString entryUnit(const std::optional<UserFile> &kind);

} // namespace velmora
