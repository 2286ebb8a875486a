#include "readings/bp_reading.h"

#include "records/line_file.h"

#include <limits>

namespace velmora {

namespace {

std::optional<QString> outside(const QString &box, int value, int min, int max)
{
    if (value >= min && value <= max)
        return std::nullopt;
    return QStringLiteral("%1应在 %2 到 %3 之间，请核对！").arg(box).arg(min).arg(max);
}

} // namespace

std::optional<QString> bpValueRefusal(int systolic, int diastolic, int pulse)
{
    if (auto refused = outside(QStringLiteral("收缩压"), systolic, bp::SystolicMin, bp::SystolicMax))
        return refused;
    if (auto refused = outside(QStringLiteral("舒张压"), diastolic, bp::DiastolicMin, bp::DiastolicMax))
        return refused;
    if (diastolic >= systolic)
        return QStringLiteral("舒张压应低于收缩压，请核对！");
    if (pulse != 0)
        return outside(QStringLiteral("脉搏"), pulse, bp::PulseMin, bp::PulseMax);
    return std::nullopt;
}

std::optional<QString> bpReadingRefusal(const BpReading &reading)
{
    if (auto refused = bpValueRefusal(reading.systolic, reading.diastolic, reading.pulse))
        return refused;
    if (auto refused = fieldRefusal(QStringLiteral("备注"), reading.note))
        return refused;
    return fieldRefusal(QStringLiteral("来源"), reading.source);
}

std::vector<BpReading> readingsWithin(std::span<const BpReading> readings, const QDate &from, const QDate &to)
{
    const ClockStamp first = from.isNull() ? 0 : clockStampOf(from, QTime(0, 0));
    const ClockStamp last = to.isNull() ? std::numeric_limits<ClockStamp>::max() : clockStampOf(to, QTime(23, 59, 59));
    std::vector<BpReading> within;
    for (const BpReading &r : readings)
        if (r.stamp >= first && r.stamp <= last)
            within.push_back(r);
    return within;
}

bool isSameReading(const BpReading &a, const BpReading &b)
{
    return a.stamp / 100 == b.stamp / 100 && a.systolic == b.systolic && a.diastolic == b.diastolic
           && a.pulse == b.pulse;
}

QString bpText(int systolic, int diastolic)
{
    return QStringLiteral("%1/%2").arg(systolic).arg(diastolic);
}

} // namespace velmora
