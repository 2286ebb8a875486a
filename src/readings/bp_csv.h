#pragma once

#include "readings/bp_reading.h"

#include <QByteArray>
#include <QStringList>

#include <span>

namespace velmora {

// The column titles of the readings' table, in its order.
QStringList bpCsvTitles(); // 时间, 收缩压(mmHg), 舒张压(mmHg), 脉搏(次/分), 来源, 备注

// The readings as a table for spreadsheets, as the record table is made
// (UTF-8 with a byte-order mark, CR LF): the time "2024-11-21 07:30:00",
// the values, the pulse (empty when not measured), the source and the note; a
// source or note a spreadsheet would take for a formula gets a leading
// apostrophe.
QByteArray bpReadingsCsv(std::span<const BpReading> readings);

} // namespace velmora
