#pragma once

#include "records/health_record.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <span>
#include <vector>

namespace velmora {

// One record of a read pass placed in time.
struct DatedRecord
{
    QDateTime when;               // its RecordId as a local date and time
    int position = 0;             // its place in the table (and in the ScoreColumn)
    const HealthRecord *record = nullptr; // in the caller's table
    double score = 0;             // its entry of the ScoreColumn
};

// The records of a read pass in time order (equal times in table order).
struct RecordHistory
{
    std::vector<DatedRecord> records;
    int undated = 0; // records left out: their RecordId is no real date and time
};

// Positions 0 .. count - 1 of `table` with their scores (scores[i] for
// position i; positions past the end of `scores` are left out). The history
// points into `table`, which must outlive it. Linear when the table is in
// time order, as the program keeps it.
RecordHistory recordHistory(const RecordTable &table, int count, std::span<const double> scores);

// The quick choices of a period, each ending on the given today.
enum class QuickPeriod { All, Last30Days, Last3Months, LastYear };

// A span of whole days, both ends included; a null end leaves that side open.
struct Period
{
    QDate from;
    QDate to;

    // All records (the default); the 30 days up to today; the 3 months up to
    // today (from the day after the same date 3 months back); the same for a year.
    static Period quick(QuickPeriod choice, QDate today);

    bool isAll() const { return from.isNull() && to.isNull(); }
    bool contains(const QDateTime &when) const;
    bool operator==(const Period &) const = default;
};

// "全部记录", "最近30天", "最近3个月", "最近1年".
QString quickPeriodName(QuickPeriod choice);
// "全部记录", "2024年01月01日至2024年03月31日", "2024年01月01日起", "至2024年03月31日".
QString periodText(const Period &period);

// The records of a history within the period, in the same order; its
// undated count is carried over.
RecordHistory inPeriod(const RecordHistory &history, const Period &period);

} // namespace velmora
