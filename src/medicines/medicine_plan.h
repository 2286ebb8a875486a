#pragma once

// What a person takes at a given time, read from the events alone: a
// medicine's plan is its last 开始 or 调整 without a later 停用. Events are
// taken in time order (equal times in file order), whatever order the file
// holds them in; 单次 intakes change no plan.

#include "medicines/medicine_event.h"

#include <QDate>

#include <limits>
#include <span>
#include <vector>

namespace velmora {

struct PlanEntry
{
    MedicineEvent last;     // the 开始 or 调整 that set the dose and how often
    ClockStamp started = 0; // when this run of taking it began (its first 开始 or 调整 after a 停用)
};

inline constexpr ClockStamp EndOfTime = std::numeric_limits<ClockStamp>::max();

// The medicines taken at `at` (events at that very time included), in the
// order their runs began.
std::vector<PlanEntry> planAt(std::span<const MedicineEvent> events, ClockStamp at = EndOfTime);
// The entry of the plan at `at` for a name (any spelling of it); none when not taken then.
std::optional<PlanEntry> takenAt(std::span<const MedicineEvent> events, const QString &name, ClockStamp at);

// The last second of a day, as a stamp: what was in effect at the end of it.
ClockStamp endOfDay(const QDate &day);

// "2024年03月01日".
QString dayText(const QDate &day);
// "氨氯地平 5 mg 每日1次".
QString planDoseText(const PlanEntry &entry);
// "氨氯地平 5 mg 每日1次（2024年03月01日起）".
QString planEntryText(const PlanEntry &entry);
// The plan in effect during the days from `first` to `last`: what was taken
// at the end of the last day and what changed on the way, in one line:
// "氨氯地平 10 mg 每日1次（2024年03月05日起）；期间：2024年03月05日 调整 氨氯地平 10 mg"
// ("未记录用药" when nothing was taken and nothing changed).
QString planDuringText(std::span<const MedicineEvent> events, const QDate &first, const QDate &last);

} // namespace velmora
