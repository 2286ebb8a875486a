#include "medicines/medicine_effect.h"

#include "analysis/factors.h"
#include "medicines/medicine_plan.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

const QString CheckUpSource = QStringLiteral("体检");

BpAverage averageWithin(std::span<const BpReading> readings, const DayRange &days)
{
    std::vector<BpReading> within;
    std::copy_if(readings.begin(), readings.end(), std::back_inserter(within),
                 [&](const BpReading &r) { return days.contains(stampDate(r.stamp)); });
    return averageOf(within);
}

QString sideText(const QString &side, const BpAverage &average)
{
    if (average.count == 0)
        return QStringLiteral("%1没有读数").arg(side);
    if (average.count < effect::FewestReadings)
        return QStringLiteral("%1仅 %2 次读数（不足 %3 次），不计平均值")
            .arg(side)
            .arg(average.count)
            .arg(effect::FewestReadings);
    return QStringLiteral("%1平均 %2（%3 次）").arg(side, bpText(average.systolic, average.diastolic)).arg(average.count);
}

std::optional<int> wholeValue(Factor factor, const HealthRecord &record)
{
    const std::optional<double> value = factorValue(factor, record);
    if (!value || !std::isfinite(*value) || std::abs(*value) > 1000)
        return std::nullopt;
    return int(std::lround(*value));
}

} // namespace

DayRange daysBefore(const QDate &changeDay)
{
    return {changeDay.addDays(-effect::DaysBefore), changeDay.addDays(-1)};
}

DayRange daysAfter(const QDate &changeDay)
{
    return {changeDay.addDays(effect::FirstDayAfter), changeDay.addDays(effect::LastDayAfter)};
}

ChangeEffect changeEffect(std::span<const BpReading> readings, const QDate &changeDay)
{
    return {averageWithin(readings, daysBefore(changeDay)), averageWithin(readings, daysAfter(changeDay))};
}

QString effectText(const ChangeEffect &effect)
{
    return sideText(QStringLiteral("之前"), effect.before) + QStringLiteral("，")
           + sideText(QStringLiteral("之后"), effect.after);
}

std::vector<BpReading> checkUpReadings(const RecordHistory &history)
{
    std::vector<BpReading> readings;
    for (const DatedRecord &r : history.records) {
        const auto systolic = wholeValue(Factor::Systolic, *r.record);
        const auto diastolic = wholeValue(Factor::Diastolic, *r.record);
        if (systolic && diastolic && !bpValueRefusal(*systolic, *diastolic, 0))
            readings.push_back({clockStampOf(r.when), *systolic, *diastolic, 0, CheckUpSource, QString()});
    }
    return readings;
}

std::vector<BpReading> allReadings(std::span<const BpReading> home, std::span<const BpReading> checkUps)
{
    std::vector<BpReading> all(home.begin(), home.end());
    all.insert(all.end(), checkUps.begin(), checkUps.end());
    std::stable_sort(all.begin(), all.end(), [](const BpReading &a, const BpReading &b) { return a.stamp < b.stamp; });
    return all;
}

std::vector<ChangeWithEffect> changesWithEffects(std::span<const MedicineEvent> events,
                                                 std::span<const BpReading> readings, const QDate &first,
                                                 const QDate &last)
{
    std::vector<ChangeWithEffect> changes;
    for (const MedicineEvent &e : events) {
        const QDate day = stampDate(e.stamp);
        if (changesPlan(e.action) && (first.isNull() || day >= first) && (last.isNull() || day <= last))
            changes.push_back({e, changeEffect(readings, day)});
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const ChangeWithEffect &a, const ChangeWithEffect &b) { return a.event.stamp < b.event.stamp; });
    return changes;
}

QString changeLine(const ChangeWithEffect &change)
{
    return QStringLiteral("%1 %2：%3")
        .arg(dayText(stampDate(change.event.stamp)), eventSummary(change.event), effectText(change.effect));
}

} // namespace velmora
