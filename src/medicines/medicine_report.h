#pragma once

// What a report says of the medicines over a span of days: what was taken at
// its end, and each change within it with the pressure before and after it.

#include "medicines/medicine_effect.h"

#include <QStringList>

namespace velmora {

struct MedicineSection
{
    QString planTitle;   // "2024年12月31日时在服用的药物", "目前在服用的药物"
    QStringList plan;    // "氨氯地平 10 mg 每日1次（2023年03月01日起）", or "无"
    QStringList changes; // "1. 2024年03月01日 开始 氨氯地平 5 mg：之前平均 …，之后平均 …", numbered as the charts' marks

    // Nothing taken at the end and nothing changed: no section.
    bool isEmpty() const
    {
        return (plan.isEmpty() || plan == QStringList{QStringLiteral("无")}) && changes.isEmpty();
    }
};

// The section of the days from `first` to `last` (a null day leaves that
// side open; the plan is then the one in effect now).
MedicineSection medicineSection(std::span<const MedicineEvent> events, std::span<const BpReading> readings,
                                const QDate &first, const QDate &last);

// What the before and after figures are, said the same way wherever they are shown.
QString medicineEffectAbout();

} // namespace velmora
