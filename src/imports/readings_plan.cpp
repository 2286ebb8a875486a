#include "imports/readings_plan.h"

#include "records/clock_time.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace velmora {

namespace {

constexpr int ListedRefusals = 10;
constexpr int ListedZones = 6;

using ReadingKey = std::tuple<ClockStamp, int, int, int>;

// What makes two readings the same (isSameReading): the minute and the values.
ReadingKey keyOf(const BpReading &r)
{
    return {r.stamp / 100, r.systolic, r.diastolic, r.pulse};
}

QString when(ClockStamp stamp)
{
    return stampDateTime(stamp).toString(QStringLiteral("yyyy年MM月dd日 HH:mm"));
}

QString zonesLine(const QStringList &zones)
{
    if (zones.isEmpty())
        return QStringLiteral("文件中没有时区，读数按文件所写的时间记入。");
    QString listed = zones.mid(0, ListedZones).join(u'、');
    if (zones.size() > ListedZones)
        listed += QStringLiteral(" 等 %1 个").arg(zones.size());
    return QStringLiteral("文件中的时区：%1；每条读数按测量地当时的钟点记入。").arg(listed);
}

} // namespace

ReadingsPlan planReadings(ImportedReadings imported, std::span<const BpReading> diary, const QDateTime &now)
{
    ReadingsPlan plan;
    plan.kind = std::move(imported.kind);
    plan.zones = std::move(imported.zones);
    plan.refused = std::move(imported.refused);
    const ClockStamp latest = clockStampOf(now.addDays(1));
    std::set<ReadingKey> known;
    for (const BpReading &r : diary)
        known.insert(keyOf(r));
    for (ImportedReading &found : imported.readings) {
        const BpReading &r = found.reading;
        if (r.stamp > latest) {
            plan.refused.push_back({found.row, QStringLiteral("测量时间 %1 晚于现在").arg(when(r.stamp))});
            continue;
        }
        plan.first = plan.found == 0 ? r.stamp : std::min(plan.first, r.stamp);
        plan.last = std::max(plan.last, r.stamp);
        ++plan.found;
        if (!known.insert(keyOf(r)).second)
            ++plan.alreadyPresent;
        else
            plan.toAdd.push_back(std::move(found.reading));
    }
    std::stable_sort(plan.toAdd.begin(), plan.toAdd.end(), [](const BpReading &a, const BpReading &b) { return a.stamp < b.stamp; });
    std::stable_sort(plan.refused.begin(), plan.refused.end(), [](const RefusedRow &a, const RefusedRow &b) { return a.row < b.row; });
    return plan;
}

QString readingsSummary(const ReadingsPlan &plan)
{
    QStringList lines;
    if (plan.found == 0)
        lines << QStringLiteral("%1中没有可以读出的血压读数。").arg(plan.kind);
    else
        lines << QStringLiteral("%1中有 %2 条血压读数，时间从 %3 到 %4。")
                     .arg(plan.kind)
                     .arg(plan.found)
                     .arg(when(plan.first), when(plan.last))
              << zonesLine(plan.zones);
    if (plan.alreadyPresent)
        lines << QStringLiteral("%1 条已在日记中或在文件中重复（同一分钟、同样数值），将跳过。").arg(plan.alreadyPresent);
    const int refused = int(plan.refused.size());
    if (refused) {
        lines << QStringLiteral("%1 行不能导入：").arg(refused);
        for (int i = 0; i < std::min(refused, ListedRefusals); ++i)
            lines << QStringLiteral("    第 %1 行：%2").arg(plan.refused[size_t(i)].row).arg(plan.refused[size_t(i)].reason);
        if (refused > ListedRefusals)
            lines << QStringLiteral("    ……另有 %1 行不能导入").arg(refused - ListedRefusals);
    }
    lines << (plan.toAdd.empty() ? QStringLiteral("没有可以导入的新读数，日记没有改动。")
                                 : QStringLiteral("将导入 %1 条新读数。").arg(plan.toAdd.size()));
    return lines.join(u'\n');
}

} // namespace velmora
