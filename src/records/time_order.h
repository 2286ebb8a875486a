#pragma once

#include "records/health_record.h"

#include <QString>

#include <vector>

namespace velmora {

// The entries 0 .. count - 1 of a table, and a table of entries: the working
// form of a rewrite that puts entries in or takes them out.
std::vector<HealthRecord> tableEntries(const RecordTable &table, int count);
RecordTable tableOf(std::vector<HealthRecord> entries);

// Puts a record into entries kept oldest first: before the first entry whose
// RecordId is a later fourteen-digit id, so after every entry with the same or
// an earlier one. In a file edited by hand out of time order that is still
// the first later entry; an entry without a fourteen-digit id is never later.
void insertInTimeOrder(std::vector<HealthRecord> &entries, HealthRecord record);
// The same for many records at once, in one pass: the result is what putting
// them in one after the other gives.
void insertInTimeOrder(std::vector<HealthRecord> &entries, std::vector<HealthRecord> records);

} // namespace velmora
