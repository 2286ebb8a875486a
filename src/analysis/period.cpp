#include "analysis/period.h"

#include "records/record_id.h"

#include <algorithm>

namespace velmora {

RecordHistory recordHistory(const RecordTable &table, int count, std::span<const double> scores)
{
    const int scored = std::min(count, int(scores.size()));
    RecordHistory history;
    history.records.reserve(size_t(std::max(scored, 0)));
    const QTimeZone zone = QTimeZone::systemTimeZone();
    for (int i = 0; i < scored; ++i) {
        const HealthRecord &record = table[i];
        if (const std::optional<QDateTime> when = recordTime(record[RecordIdField], zone))
            history.records.push_back({*when, i, &record, scores[size_t(i)]});
        else
            ++history.undated;
    }
    const auto earlier = [](const DatedRecord &a, const DatedRecord &b) { return a.when < b.when; };
    if (!std::is_sorted(history.records.begin(), history.records.end(), earlier))
        std::stable_sort(history.records.begin(), history.records.end(), earlier);
    return history;
}

Period Period::quick(QuickPeriod choice, QDate today)
{
    switch (choice) {
    case QuickPeriod::All:
        break;
    case QuickPeriod::Last30Days:
        return {today.addDays(-29), today};
    case QuickPeriod::Last3Months:
        return {today.addMonths(-3).addDays(1), today};
    case QuickPeriod::LastYear:
        return {today.addYears(-1).addDays(1), today};
    }
    return {};
}

bool Period::contains(const QDateTime &when) const
{
    const QDate day = when.date();
    return (from.isNull() || day >= from) && (to.isNull() || day <= to);
}

QString quickPeriodName(QuickPeriod choice)
{
    switch (choice) {
    case QuickPeriod::All:
        break;
    case QuickPeriod::Last30Days:
        return QStringLiteral("最近30天");
    case QuickPeriod::Last3Months:
        return QStringLiteral("最近3个月");
    case QuickPeriod::LastYear:
        return QStringLiteral("最近1年");
    }
    return QStringLiteral("全部记录");
}

QString periodText(const Period &period)
{
    const auto day = [](QDate date) { return date.toString(QStringLiteral("yyyy年MM月dd日")); };
    if (period.isAll())
        return quickPeriodName(QuickPeriod::All);
    if (period.to.isNull())
        return day(period.from) + u'起';
    if (period.from.isNull())
        return u'至' + day(period.to);
    return day(period.from) + u'至' + day(period.to);
}

RecordHistory inPeriod(const RecordHistory &history, const Period &period)
{
    RecordHistory within;
    within.undated = history.undated;
    std::copy_if(history.records.begin(), history.records.end(), std::back_inserter(within.records),
                 [&period](const DatedRecord &r) { return period.contains(r.when); });
    return within;
}

} // namespace velmora
