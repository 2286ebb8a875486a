#include "records/health_record.h"

namespace velmora {

void RecordTable::clearRecordIds()
{
    for (HealthRecord &record : m_entries)
        record[RecordIdField] = Item();
}

void RecordTable::clear()
{
    m_entries = {};
}

} // namespace velmora
