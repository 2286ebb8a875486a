#include "health_record.h"

namespace velmora {

RecordTable::RecordTable()
    : m_entries(MinimumSize)
{
}

void RecordTable::reserveEntries(int count)
{
    if (count > size())
        m_entries.resize(size_t(count));
}

void RecordTable::clearRecordIds()
{
    for (HealthRecord &record : m_entries)
        record[RecordIdField] = Item();
}

void RecordTable::clear()
{
    m_entries.assign(MinimumSize, HealthRecord());
}

} // namespace velmora
