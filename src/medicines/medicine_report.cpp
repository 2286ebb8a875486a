#include "medicines/medicine_report.h"

#include "medicines/medicine_plan.h"

namespace velmora {

MedicineSection medicineSection(std::span<const MedicineEvent> events, std::span<const BpReading> readings,
                                const QDate &first, const QDate &last)
{
    MedicineSection section;
    section.planTitle = last.isNull() ? QStringLiteral("目前在服用的药物")
                                      : QStringLiteral("%1时在服用的药物").arg(dayText(last));
    for (const PlanEntry &entry : planAt(events, last.isNull() ? EndOfTime : endOfDay(last)))
        section.plan << planEntryText(entry);
    if (section.plan.isEmpty())
        section.plan << QStringLiteral("无");
    for (const ChangeWithEffect &change : changesWithEffects(events, readings, first, last))
        section.changes << QStringLiteral("%1. %2").arg(section.changes.size() + 1).arg(changeLine(change));
    return section;
}

QString medicineEffectAbout()
{
    return QStringLiteral(
        "前后血压：变化当天之前 14 天（第 −14 至 −1 天）和之后第 15 至 28 天的家庭血压读数与体检血压的平均值，"
        "每次读数计一次，变化当天和之后头 14 天不计；一侧少于 %1 次不计平均值。这只是对所记数值的描述，"
        "不说明变化的原因，也不是用药建议。")
        .arg(effect::FewestReadings);
}

} // namespace velmora
