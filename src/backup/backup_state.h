#pragma once

// What the automatic backups remember between runs, in a small file of the
// program folder, "备份设置.txt": GBK with CR LF like the diary's files, one
// "name=value" a line, for example "最近一次自动备份=2026-12-08". It is
// written through the one save routine. (Never a ".dat" name, so never a
// record file; never a temporary save.)

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>

#include <optional>

namespace velmora {

inline const QString BackupStateFileName = QStringLiteral("备份设置.txt");

struct BackupState
{
    QString secondFolder; // where a copy of each automatic backup also goes; empty for none
    QDate lastMade;       // the day of the last automatic backup made
    QDate failingSince;   // the first day of failed automatic backups since then; null: none failed
    QString failure;      // why the last one failed
    bool toldFailing = false; // a message has said that they have failed for a week

    bool operator==(const BackupState &) const = default;
};

// Lines it does not know, or cannot read, are skipped.
BackupState readBackupState(QByteArrayView content);
// Nothing when the second folder's name holds a character GBK lacks.
std::optional<QByteArray> backupStateContent(const BackupState &state);

} // namespace velmora
