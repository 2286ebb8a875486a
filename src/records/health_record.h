#pragma once

#include "item.h"

#include <algorithm>
#include <array>
#include <vector>

namespace velmora {

// The fourteen items of a record, in the order they stand in a record file.
enum Field : int {
    RecordIdField,
    SexField,
    AgeField,
    HeightField,
    WeightField,
    TriglyceridesField,
    SystolicField,
    DiastolicField,
    BloodSugarField,
    SmokingField,
    DrinkingField,
    CholesterolField,
    WaistField,
    HeredityField,
    FieldCount
};

// One dated set of the thirteen factors of one user.
struct HealthRecord
{
    std::array<Item, FieldCount> items;

    Item &operator[](Field field) { return items[size_t(field)]; }
    const Item &operator[](Field field) const { return items[size_t(field)]; }
    bool operator==(const HealthRecord &) const = default;
};

// The current user's records as last read. It always has room for positions
// 0 to 1000 and grows when a file holds more, so no entry is ever dropped.
// A read overwrites only the positions it reads: positions at and after the
// count keep what an earlier, longer read left there.
class RecordTable
{
public:
    static constexpr int MinimumSize = 1001;

    RecordTable();

    int size() const { return int(m_entries.size()); }
    bool contains(int position) const { return position >= 0 && position < size(); }
    HealthRecord &operator[](int position) { return m_entries[size_t(position)]; }
    const HealthRecord &operator[](int position) const { return m_entries[size_t(position)]; }

    // Makes room for positions 0 to count - 1.
    void reserveEntries(int count);
    // Room for `count` positions without adding any (one allocation for a long read).
    void reserveCapacity(int count) { m_entries.reserve(size_t(std::max(count, 0))); }
    // Empties the RecordId of every position, so that labels past a new count show nothing.
    void clearRecordIds();
    // Empties every item of every position and shrinks back to 1001 positions.
    void clear();

private:
    std::vector<HealthRecord> m_entries;
};

} // namespace velmora
