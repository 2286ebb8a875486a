#pragma once

#include "medicines/medicine_event.h"

#include <QDate>
#include <QDateTime>

#include <span>
#include <vector>

namespace velmora {

// A medicine event as a time chart draws it: 开始, 调整 and 停用 as a
// labelled vertical line, 单次 as a tick on the time axis.
struct MedicineMark
{
    QDateTime when; // the clock time of the event
    MedicineAction action = MedicineAction::Start;
    QString label;    // empty for 单次
    int medicine = 0; // the medicine's number by its first event in the diary (its colour)
    int change = 0;   // 1, 2, ...: the change's number among the marks, as lists of the changes number them; 0 for 单次
};

// "氨氯地平 5 mg" (开始), "氨氯地平 → 10 mg" (调整), "氨氯地平 停用".
QString chartLabel(const MedicineEvent &event);

// The marks of the events from `first` to `last` (a null day leaves that
// side open), in time order, the changes numbered as changesWithEffects()
// lists them for the same days.
std::vector<MedicineMark> medicineMarks(std::span<const MedicineEvent> events, const QDate &first, const QDate &last);

} // namespace velmora
