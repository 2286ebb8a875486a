#pragma once

// A backup checked before anything of it is used: the zip read as something
// that may have been made to harm (names that leave the folder, links,
// encrypted entries, names no user could have, entries that inflate beyond
// what they declare), then every file against the manifest (size, SHA-256)
// and read with the program's own reader (its count against the manifest's).

#include "backup/diary_files.h"
#include "backup/manifest.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <vector>

namespace velmora {

struct CheckedFile
{
    DiaryFile file;
    QByteArray content;
    qsizetype count = 0;
};

struct DamagedFile
{
    QString name;
    QString reason;
};

struct BackupCheck
{
    QString refusal;                  // why nothing of it may be used; empty when something may
    Manifest manifest;
    std::vector<CheckedFile> files;   // the intact files, in the manifest's order
    std::vector<DamagedFile> damaged; // missing, changed or unreadable files, and files the manifest lacks

    bool isComplete() const { return refusal.isEmpty() && damaged.empty(); }
    const CheckedFile *find(const QString &name) const;
    // The users of the backup's user list, once each, in list order.
    QStringList users() const;
    // "张三.bp（内容与清单不符）、李四.dat（备份中缺少这个文件）".
    QString damagedText() const;
};

// What a restore reads at most: beyond these a backup is taken for a zip bomb.
namespace backup_limits {
inline constexpr qsizetype Entries = 20000;
inline constexpr qint64 Manifest = 4 << 20;
inline constexpr qint64 File = qint64(256) << 20;
inline constexpr qint64 Total = qint64(1) << 30;
} // namespace backup_limits

// Reads and checks a backup from a device open for reading.
BackupCheck checkBackup(QIODevice &zip);

} // namespace velmora
