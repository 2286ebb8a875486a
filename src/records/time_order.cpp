#include "records/time_order.h"

#include "records/record_id.h"

#include <algorithm>

namespace velmora {

std::vector<HealthRecord> tableEntries(const RecordTable &table, int count)
{
    std::vector<HealthRecord> entries;
    entries.reserve(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        entries.push_back(table[i]);
    return entries;
}

RecordTable tableOf(std::vector<HealthRecord> entries)
{
    RecordTable table;
    table.reserveCapacity(int(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i)
        table[int(i)] = std::move(entries[i]);
    return table;
}

namespace {

QString idOf(const HealthRecord &record)
{
    return record[RecordIdField].displayText();
}

} // namespace

void insertInTimeOrder(std::vector<HealthRecord> &entries, HealthRecord record)
{
    std::vector<HealthRecord> one;
    one.push_back(std::move(record));
    insertInTimeOrder(entries, std::move(one));
}

void insertInTimeOrder(std::vector<HealthRecord> &entries, std::vector<HealthRecord> records)
{
    // The latest id up to each entry never decreases, also in a file out of
    // order, so the first later entry is found by halving. An entry without a
    // fourteen-digit id counts as earlier than any.
    std::vector<QString> latest;
    latest.reserve(entries.size());
    for (const HealthRecord &entry : entries) {
        QString id = idOf(entry);
        if (!isRecordIdText(id))
            id.clear();
        latest.push_back(latest.empty() || id > latest.back() ? std::move(id) : latest.back());
    }
    struct Placed
    {
        size_t before; // the entry it goes before
        QString id;
        HealthRecord *record;
    };
    std::vector<Placed> placed;
    placed.reserve(records.size());
    for (HealthRecord &record : records) {
        QString id = idOf(record);
        const size_t before = size_t(std::upper_bound(latest.begin(), latest.end(), id) - latest.begin());
        placed.push_back({before, std::move(id), &record});
    }
    // Between two entries the new ones stand in time order, equal ids in the order given.
    std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) {
        return a.before != b.before ? a.before < b.before : a.id < b.id;
    });
    std::vector<HealthRecord> merged;
    merged.reserve(entries.size() + records.size());
    auto next = placed.begin();
    for (size_t i = 0; i <= entries.size(); ++i) {
        for (; next != placed.end() && next->before == i; ++next)
            merged.push_back(std::move(*next->record));
        if (i < entries.size())
            merged.push_back(std::move(entries[i]));
    }
    entries = std::move(merged);
}

} // namespace velmora
