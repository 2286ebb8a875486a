#pragma once

// The blood pressure before and after a change of medicine, described and
// nothing more. Day 0 is the calendar day of the change (开始, 调整 or 停用);
// "before" is days -14 to -1, the two weeks up to the change; "after" is
// days 15 to 28 (day 1 is the day after the change), when most blood
// pressure medicines have reached their full effect. The day of the change
// and days 1 to 14 count for neither side. Each side is the mean of every
// reading in it, home readings and check-up records alike, each counted
// once; with fewer than 6 readings a side gives no mean. Other changes in
// the same weeks, the time of day and how the readings were taken are not
// accounted for: the figures say what was measured, not what caused it.

#include "analysis/period.h"
#include "medicines/medicine_event.h"
#include "readings/home_week.h"

#include <span>
#include <vector>

namespace velmora {

namespace effect {
inline constexpr int DaysBefore = 14;    // days -14 .. -1
inline constexpr int FirstDayAfter = 15; // days 15 ..
inline constexpr int LastDayAfter = 28;  // .. 28
inline constexpr int FewestReadings = 6; // a side with fewer gives no mean
} // namespace effect

// Days from `first` to `last`, both included.
struct DayRange
{
    QDate first, last;

    bool contains(const QDate &day) const { return day >= first && day <= last; }
};

DayRange daysBefore(const QDate &changeDay);
DayRange daysAfter(const QDate &changeDay);

struct ChangeEffect
{
    BpAverage before, after;
};

// The readings may be in any order.
ChangeEffect changeEffect(std::span<const BpReading> readings, const QDate &changeDay);

// "之前平均 148/92（12 次），之后平均 136/84（14 次）"; a side with too few
// readings says so instead ("之前仅 4 次读数（不足 6 次），不计平均值",
// "之后没有读数").
QString effectText(const ChangeEffect &effect);

// The check-up records' blood pressure as readings (source "体检"): every
// record whose systolic and diastolic items are numbers a person can have.
std::vector<BpReading> checkUpReadings(const RecordHistory &history);
// Home readings and check-up readings together, in time order.
std::vector<BpReading> allReadings(std::span<const BpReading> home, std::span<const BpReading> checkUps);

// A change within a span of days with the pressure around it.
struct ChangeWithEffect
{
    MedicineEvent event;
    ChangeEffect effect;
};
// The 开始, 调整 and 停用 events from `first` to `last` (a null day leaves
// that side open), in time order.
std::vector<ChangeWithEffect> changesWithEffects(std::span<const MedicineEvent> events,
                                                 std::span<const BpReading> readings, const QDate &first,
                                                 const QDate &last);
// "2024年03月01日 开始 氨氯地平 5 mg：之前平均 …，之后平均 …".
QString changeLine(const ChangeWithEffect &change);

} // namespace velmora
