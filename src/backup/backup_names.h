#pragma once

// The names of backup files and the backups a folder holds. Only files named
// as the program names its backups are ever listed, and so ever thinned: any
// other file of a backup folder is left alone.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora {

// The folder of the automatic backups inside the program folder.
inline const QString AutomaticBackupFolder = QStringLiteral("备份");

// The name of a backup made on `day` holding these users:
// "Velmora备份-张三、李四-2026年12月08日.zip", with "全部" for more than three
// users or names too long for a file name, "无用户" for none. A backup made just
// before a restore ends in "-恢复前.zip".
enum class BackupOccasion { Plain, BeforeRestore };
QString backupFileName(const QStringList &users, const QDate &day, BackupOccasion occasion = BackupOccasion::Plain);
// That name in `folder`, or, when a file has it already, the first free one
// of "…-2.zip", "…-3.zip", ...
QString freeBackupPath(const QString &folder, const QString &fileName);

// The day a name the program gives a backup names; nothing for other names.
std::optional<QDate> backupDay(const QString &fileName);

struct BackupOnDisk
{
    QString path;
    QDate day;          // from its name
    QDateTime modified; // orders the backups of one day
    qint64 size = 0;
};

// The program's backups in a folder, newest first.
std::vector<BackupOnDisk> backupsIn(const QString &folder);

} // namespace velmora
