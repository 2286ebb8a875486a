#pragma once

// What a restore changes in the program folder, worked out whole before
// anything is written, from a checked backup and the files as they are.

#include "backup/backup_check.h"
#include "records/data_folder.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora {

struct FileChange
{
    QString path;
    FileFingerprint found;             // what the file held when planned; FileFingerprint{} for no file
    std::optional<QByteArray> content; // the new content; nothing removes the file
};

// What a user gets back, for the message after the restore.
struct UserGain
{
    QString user;
    bool added = false;  // the user was not on the list
    qsizetype records = 0;
    qsizetype readings = 0;
    qsizetype answers = 0;
    qsizetype medicines = 0;
};

struct RestorePlan
{
    std::vector<FileChange> changes; // the users' files first, the user list last
    std::vector<UserGain> gains;     // of chosen users
};

// The whole diary becomes the backup: its user list and each file of its
// users, byte for byte; every other file of the users now listed goes (the
// backup made before the restore keeps them). Only for a complete backup.
std::optional<RestorePlan> planWholeDiary(const DataFolder &folder, const BackupCheck &backup, QString *error);

// Chosen users of the backup come back from its intact files, as an import
// brings records: a user on the list keeps everything it has and gains the
// records (by their RecordId), readings and answers it lacks, and a file it
// does not have at all; a user not on the list is added with its files (and
// an empty record file when the backup has none intact).
std::optional<RestorePlan> planChosenUsers(const DataFolder &folder, const BackupCheck &backup,
                                           const QStringList &users, QString *error);

// The names of files the restore of these users would write over that
// belong to no user of the list now (left beside it by hand): no part of the
// diary, so no part of the backup made before the restore either.
QStringList unlistedFilesReplaced(const DataFolder &folder, const BackupCheck &backup, const QStringList &users);

// Makes every change or none. Each new content is first written (through the
// folder's save) under a temporary name beside its file; then, the user list
// last, each file, if it still holds what was planned, is put aside under a
// temporary name and the new one takes its place; only when every one is in
// place do the old ones go. A failure on the way puts every old file back and
// removes every new one. (A crash on the way leaves temporary files, which
// the next start removes; the backup made before the restore holds the
// diary as it was.)
FileResult applyRestore(const DataFolder &folder, const std::vector<FileChange> &changes);

} // namespace velmora
