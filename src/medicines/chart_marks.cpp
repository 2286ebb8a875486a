#include "medicines/chart_marks.h"

#include <algorithm>

namespace velmora {

QString chartLabel(const MedicineEvent &event)
{
    switch (event.action) {
    case MedicineAction::Start:
        return nameAndDose(event);
    case MedicineAction::Adjust:
        return event.dose.isEmpty() ? event.name + QStringLiteral(" 调整") : event.name + QStringLiteral(" → ") + event.dose;
    case MedicineAction::Stop:
        return event.name + QStringLiteral(" 停用");
    case MedicineAction::Single:
        break;
    }
    return QString();
}

std::vector<MedicineMark> medicineMarks(std::span<const MedicineEvent> events, const QDate &first, const QDate &last)
{
    std::vector<QString> keys; // the medicines by their first event in the diary
    std::vector<MedicineMark> marks;
    for (const MedicineEvent &e : events) {
        const QString key = medicineKey(e.name);
        auto found = std::find(keys.begin(), keys.end(), key);
        if (found == keys.end())
            found = keys.insert(keys.end(), key);
        const QDate day = stampDate(e.stamp);
        if ((first.isNull() || day >= first) && (last.isNull() || day <= last))
            marks.push_back({stampDateTime(e.stamp), e.action, chartLabel(e), int(found - keys.begin())});
    }
    std::stable_sort(marks.begin(), marks.end(), [](const MedicineMark &a, const MedicineMark &b) { return a.when < b.when; });
    int change = 0;
    for (MedicineMark &mark : marks)
        if (changesPlan(mark.action))
            mark.change = ++change;
    return marks;
}

} // namespace velmora
