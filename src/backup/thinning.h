#pragma once

// Which automatic backups are kept: the newest of every day for the last
// seven days that have backups (all of that day's backups, so that one made
// just before a restore stays beside the day's own), the newest of each of
// the last eight weeks that have backups, the newest of each of the last
// twelve months that have backups; and of those never more than 50 MB
// together, the oldest going first (the newest one always stays).

#include <QDate>

#include <vector>

namespace velmora {

struct DatedBackup
{
    QDate day;
    qint64 size = 0;
};

struct ThinningRule
{
    int days = 7;
    int weeks = 8;   // weeks as ISO 8601 counts them, Monday to Sunday
    int months = 12;
    qint64 maxBytes = qint64(50) * 1000 * 1000;
};

// For backups given newest first (by day, then by time within a day), which
// to keep.
std::vector<bool> backupsToKeep(const std::vector<DatedBackup> &newestFirst, const ThinningRule &rule = {});

} // namespace velmora
