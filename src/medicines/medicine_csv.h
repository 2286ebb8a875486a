#pragma once

#include "medicines/medicine_event.h"

#include <QByteArray>
#include <QStringList>

#include <span>

namespace velmora {

// The column titles of the medicine table, in its order: 时间, 事件, 药名, 剂量, 用法, 备注.
QStringList medicineCsvTitles();

// The history as a table for spreadsheets, as the record table is made
// (UTF-8 with a byte-order mark, CR LF), oldest first: the time
// "2024-03-01 08:00:00", the event's word and its texts; a text a
// spreadsheet would take for a formula gets a leading apostrophe.
QByteArray medicinesCsv(std::span<const MedicineEvent> events);

} // namespace velmora
