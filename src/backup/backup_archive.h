#pragma once

// Making a backup: every file of the diary, byte for byte under its own name,
// and the manifest, in one zip made in memory; then written like any file of
// the program, replacing nothing until the written file has been read back
// and found to hold what the manifest says.

#include "backup/backup_names.h"
#include "backup/manifest.h"
#include "records/data_folder.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace velmora {

struct Backup
{
    QByteArray zip;
    Manifest manifest;
};

// Reads the diary's files (through the folder, as every read of the program)
// and makes the zip: the manifest first, then the files in the order of
// diaryFiles(). Nothing, with the reason, when a file cannot be read.
std::optional<Backup> makeBackup(const DataFolder &folder, const QDateTime &now, QString *error);

// Writes the backup to `path` through the one save routine, with a check of
// the written file: read back, it must be a backup whose every file matches
// the manifest. A failure on the way (a full disk, a folder that may not be
// written, a drive pulled out) leaves no file under that name or beside it.
FileResult writeBackup(const QString &path, const Backup &backup, const SaveFaults &faults = {});

// Makes a backup and writes it into `folder` under its own free name
// (backup_names.h); `path` receives where it went, `made` what it holds.
FileResult backUpInto(const DataFolder &diary, const QString &folder, const QDateTime &now, BackupOccasion occasion,
                      QString *path = nullptr, Manifest *made = nullptr);

} // namespace velmora
