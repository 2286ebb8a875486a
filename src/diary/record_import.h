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

// Reads the table and checks every row as a store checks its boxes, and its
// time: not later than `now`, not before 1900. Columns are found by their
// headings, in any order; the score column and unknown columns are ignored.
// A row whose RecordId an entry (or an earlier row) holds with other values
// is refused rather than stored twice.
//
// Values are stored as the store stores them: the leading-number value of a
// numeric cell (a decimal comma is read as a point), sex and heredity as
// texts. Two exceptions keep a round trip through the export exact: an empty
// numeric cell stays an empty item, and the cholesterol texts "脑血栓" and
// "糖尿病" stay texts (they are diagnoses, scored 5100 by a store pass).
ImportPlan planImport(QByteArrayView table, const std::vector<HealthRecord> &entries, const QDateTime &now);

// What the plan would do, for a person to read before confirming: rows to
// add, rows skipped, rows refused with their numbers and reasons, and then
// the question (or, with nothing to add, that nothing is changed).
QString importSummary(const ImportPlan &plan);

} // namespace velmora
