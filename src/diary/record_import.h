#pragma once

#include "records/health_record.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <vector>

namespace velmora {

// A record table brought in (the CSV the program exports, or the same table
// saved again by a spreadsheet), checked against one user's entries before
// anything is written.
struct ImportPlan
{
    struct Refused
    {
        int row; // as a spreadsheet counts rows: the heading is row 1
        QString reason;
    };

    QString error; // the whole table cannot be used: the message saying why; nothing else is set
    std::vector<HealthRecord> toAdd; // new records, in table order
    int alreadyPresent = 0;          // rows whose RecordId and values an entry holds already
    std::vector<Refused> refused;
};

// Reads the table and checks every row: its time not later than `now` and not
// before 1900, its items as a store checks its boxes (the limits for the
// items that are numbers). Columns are found by their headings, in any order;
// the score column and unknown columns are ignored. A row whose RecordId an
// entry (or an earlier row) holds with other values is refused rather than
// stored twice.
//
// Every cell becomes the item the record file holds for it, read as the file
// is read: a number (a decimal comma read as a point), a text exactly as it
// stands, an empty item for an empty cell; the export's formula guard is
// taken off. So a table exported by the program comes back item for item. A
// text the file cannot hold as it is (a line break, a character GBK lacks)
// refuses its row.
ImportPlan planImport(QByteArrayView table, const std::vector<HealthRecord> &entries, const QDateTime &now);

// What the plan would do, for a person to read before confirming: rows to
// add, rows skipped, rows refused with their numbers and reasons, and then
// the question (or, with nothing to add, that nothing is changed).
QString importSummary(const ImportPlan &plan);

} // namespace velmora
