#include "imports/imported_readings.h"

namespace velmora {

void ImportedReadings::add(const BpReading &reading, int row)
{
    if (const std::optional<QString> refusal = bpReadingRefusal(reading))
        refuse(row, rowReason(*refusal));
    else
        readings.push_back({reading, row});
}

void ImportedReadings::noteZone(const QString &zone)
{
    if (!zone.isEmpty() && !zones.contains(zone))
        zones << zone;
}

QString rowReason(QString refusal)
{
    for (const QString &ending : {QStringLiteral("，请核对！"), QStringLiteral("，请修改！")})
        if (refusal.endsWith(ending))
            refusal.chop(ending.size());
    return refusal;
}

} // namespace velmora
