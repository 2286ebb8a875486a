#include "medicines/medicine_plan.h"

#include <QStringList>

#include <algorithm>
#include <numeric>

namespace velmora {

namespace {

// The positions of the events in time order, equal times in file order.
std::vector<size_t> timeOrder(std::span<const MedicineEvent> events)
{
    std::vector<size_t> order(events.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return events[a].stamp < events[b].stamp; });
    return order;
}

} // namespace

std::vector<PlanEntry> planAt(std::span<const MedicineEvent> events, ClockStamp at)
{
    std::vector<PlanEntry> plan;
    std::vector<QString> keys; // of the plan's entries, in their order
    for (size_t i : timeOrder(events)) {
        const MedicineEvent &event = events[i];
        if (event.stamp > at)
            break;
        if (!changesPlan(event.action))
            continue;
        const QString key = medicineKey(event.name);
        const auto found = std::find(keys.begin(), keys.end(), key);
        const auto entry = plan.begin() + (found - keys.begin());
        if (event.action == MedicineAction::Stop) {
            if (found != keys.end()) {
                plan.erase(entry);
                keys.erase(found);
            }
        } else if (found != keys.end()) {
            entry->last = event;
        } else {
            plan.push_back({event, event.stamp});
            keys.push_back(key);
        }
    }
    return plan;
}

std::optional<PlanEntry> takenAt(std::span<const MedicineEvent> events, const QString &name, ClockStamp at)
{
    for (PlanEntry &entry : planAt(events, at))
        if (sameMedicine(entry.last.name, name))
            return std::move(entry);
    return std::nullopt;
}

ClockStamp endOfDay(const QDate &day)
{
    return clockStampOf(day, QTime(23, 59, 59));
}

QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("yyyy年MM月dd日"));
}

QString planDoseText(const PlanEntry &entry)
{
    const QString text = nameAndDose(entry.last);
    return entry.last.frequency.isEmpty() ? text : text + u' ' + entry.last.frequency;
}

QString planEntryText(const PlanEntry &entry)
{
    return planDoseText(entry) + QStringLiteral("（%1起）").arg(dayText(stampDate(entry.started)));
}

QString planDuringText(std::span<const MedicineEvent> events, const QDate &first, const QDate &last)
{
    QStringList taken;
    for (const PlanEntry &entry : planAt(events, endOfDay(last)))
        taken << planEntryText(entry);
    QStringList changes;
    const ClockStamp from = clockStampOf(first, QTime(0, 0)), to = endOfDay(last);
    for (size_t i : timeOrder(events)) {
        const MedicineEvent &e = events[i];
        if (changesPlan(e.action) && e.stamp >= from && e.stamp <= to)
            changes << dayText(stampDate(e.stamp)) + u' ' + eventSummary(e);
    }
    if (taken.isEmpty() && changes.isEmpty())
        return QStringLiteral("未记录用药");
    QString text = taken.isEmpty() ? QStringLiteral("期末未服用记录中的药物") : taken.join(QStringLiteral("；"));
    if (!changes.isEmpty())
        text += QStringLiteral("；期间：") + changes.join(QStringLiteral("；"));
    return text;
}

} // namespace velmora
