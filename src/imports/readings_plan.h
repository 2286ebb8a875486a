#pragma once

// A file's readings checked against the diary's before anything is written:
// what would be added, what is there already, what cannot be taken and why.

#include "imports/imported_readings.h"

#include <QDateTime>

#include <span>

namespace velmora {

struct ReadingsPlan
{
    QString kind;
    int found = 0;                  // readings the file gives (not counting refused rows)
    ClockStamp first = 0, last = 0; // the earliest and latest of them
    QStringList zones;
    int alreadyPresent = 0;         // the same minute and values in the diary, or earlier in the file
    std::vector<BpReading> toAdd;   // in time order
    std::vector<RefusedRow> refused; // by row
};

// Also refuses a reading more than a day later than `now`: a time zone moves
// a clock by hours, never by a day.
ReadingsPlan planReadings(ImportedReadings imported, std::span<const BpReading> diary, const QDateTime &now);

// The summary a person reads before the import: the file's readings, from
// when to when, its zones, the readings skipped, the rows refused (the
// first ten named) and what would be added.
QString readingsSummary(const ReadingsPlan &plan);

} // namespace velmora
