#include "readings/bp_reading.h"

#include "records/gbk.h"

namespace velmora {

namespace {

std::optional<QString> outside(const QString &box, int value, int min, int max)
{
    if (value >= min && value <= max)
        return std::nullopt;
    return QStringLiteral("%1应在 %2 到 %3 之间，请核对！").arg(box).arg(min).arg(max);
}

std::optional<QString> unkeptText(const QString &box, const QString &text)
{
    if (text.contains(u'\t') || text.contains(u'\r') || text.contains(u'\n'))
        return QStringLiteral("%1不能含有制表符或换行，请修改！").arg(box);
    if (!encodeGbk(text))
        return QStringLiteral("%1含有不能保存的字符，请修改！").arg(box);
    return std::nullopt;
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
    if (auto refused = unkeptText(QStringLiteral("备注"), reading.note))
        return refused;
    return unkeptText(QStringLiteral("来源"), reading.source);
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
