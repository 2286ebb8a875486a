#pragma once

#include "records/item.h"

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

// Some of the fourteen fields, one bit each.
struct FieldSet
{
    quint16 bits = 0;

    bool contains(Field field) const { return bits & (1u << field); }
    void insert(Field field) { bits |= quint16(1u << field); }
    bool isEmpty() const { return bits == 0; }
    bool operator==(const FieldSet &) const = default;
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
// count keep what an earlier, longer read left there. Positions that were
// never written take no memory: they read as empty records.
class RecordTable
{
public:
    static constexpr int MinimumSize = 1001;

    int size() const { return std::max(MinimumSize, int(m_entries.size())); }
    bool contains(int position) const { return position >= 0 && position < size(); }
    HealthRecord &operator[](int position)
    {
        reserveEntries(position + 1);
        return m_entries[size_t(position)];
    }
    const HealthRecord &operator[](int position) const
    {
        static const HealthRecord never;
        return size_t(position) < m_entries.size() ? m_entries[size_t(position)] : never;
    }

    // Makes room for positions 0 to count - 1.
    void reserveEntries(int count)
    {
        if (size_t(count) > m_entries.size())
            m_entries.resize(size_t(count));
    }
    // Room for `count` positions without adding any (one allocation for a long read).
    void reserveCapacity(int count) { m_entries.reserve(size_t(std::max(count, 0))); }
    // Empties the RecordId of every position, so that labels past a new count show nothing.
    void clearRecordIds();
    // Empties every item of every position and shrinks back to 1001 positions.
    void clear();

private:
    std::vector<HealthRecord> m_entries; // the positions written so far
};

} // namespace velmora
