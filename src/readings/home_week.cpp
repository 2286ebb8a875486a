#include "readings/home_week.h"

#include <algorithm>

namespace velmora {

namespace {

int minutesOf(const QTime &time)
{
    return TimeWindow::minutes(time);
}

// The sums of a mean; rounded half up at the end, in whole numbers.
struct Sums
{
    qint64 count = 0, systolic = 0, diastolic = 0, pulseCount = 0, pulse = 0;

    void add(const BpReading &r)
    {
        ++count;
        systolic += r.systolic;
        diastolic += r.diastolic;
        if (r.pulse > 0) {
            ++pulseCount;
            pulse += r.pulse;
        }
    }
    static int halfUp(qint64 sum, qint64 count) { return count ? int((2 * sum + count) / (2 * count)) : 0; }
    BpAverage average() const
    {
        return {int(count), halfUp(systolic, count), halfUp(diastolic, count), int(pulseCount), halfUp(pulse, pulseCount)};
    }
};

} // namespace

BpAverage averageOf(std::span<const BpReading> readings)
{
    Sums sums;
    for (const BpReading &r : readings)
        sums.add(r);
    return sums.average();
}

bool TimeWindow::contains(const QTime &time) const
{
    const int m = minutesOf(time);
    if (crossesMidnight())
        return m >= minutes(from) || m <= minutes(to);
    return m >= minutes(from) && m <= minutes(to);
}

Session sessionOf(const QTime &time, const MonitoringWindows &windows)
{
    if (windows.morning.contains(time))
        return Session::Morning;
    if (windows.evening.contains(time))
        return Session::Evening;
    return Session::Other;
}

QDate monitoringDay(ClockStamp stamp, const MonitoringWindows &windows)
{
    const QTime time = stampTime(stamp);
    const QDate date = stampDate(stamp);
    const auto afterMidnight = [&](const TimeWindow &window) {
        return window.crossesMidnight() && window.contains(time) && minutesOf(time) <= TimeWindow::minutes(window.to);
    };
    const Session session = sessionOf(time, windows);
    if ((session == Session::Morning && afterMidnight(windows.morning))
        || (session == Session::Evening && afterMidnight(windows.evening)))
        return date.addDays(-1);
    return date;
}

QDate defaultFirstDay(std::span<const BpReading> readings, const MonitoringWindows &windows)
{
    QDate latest;
    for (const BpReading &r : readings) {
        const QDate day = monitoringDay(r.stamp, windows);
        if (!latest.isValid() || day > latest)
            latest = day;
    }
    return latest.isValid() ? latest.addDays(-6) : QDate();
}

HomeWeek homeWeek(std::span<const BpReading> readings, const WeekChoice &choice)
{
    HomeWeek week;
    week.choice = choice;
    for (int d = 0; d < 7; ++d) {
        week.days[size_t(d)].date = choice.first.addDays(d);
        week.days[size_t(d)].counted = d >= choice.daysLeftOut;
    }
    // A reading of the week's last evening may come after midnight.
    const ClockStamp from = clockStampOf(choice.first, QTime(0, 0));
    const ClockStamp to = clockStampOf(choice.first.addDays(8), QTime(0, 0));
    std::vector<const BpReading *> inWeek;
    for (const BpReading &r : readings)
        if (r.stamp >= from && r.stamp < to)
            inWeek.push_back(&r);
    std::stable_sort(inWeek.begin(), inWeek.end(),
                     [](const BpReading *a, const BpReading *b) { return a->stamp < b->stamp; });
    Sums morning, evening, overall;
    for (const BpReading *r : inWeek) {
        const qint64 d = choice.first.daysTo(monitoringDay(r->stamp, choice.windows));
        if (d < 0 || d > 6)
            continue;
        MonitoringDay &day = week.days[size_t(d)];
        const Session session = sessionOf(stampTime(r->stamp), choice.windows);
        day.readings.push_back({r, session});
        if (!day.counted || session == Session::Other)
            continue;
        (session == Session::Morning ? morning : evening).add(*r);
        overall.add(*r);
    }
    week.morning = morning.average();
    week.evening = evening.average();
    week.overall = overall.average();
    return week;
}

bool HomeWeek::isAbove() const
{
    return !overall.isEmpty()
           && (overall.systolic >= HomeReferenceSystolic || overall.diastolic >= HomeReferenceDiastolic);
}

QString weekText(const WeekChoice &choice)
{
    const QString format = QStringLiteral("yyyy年MM月dd日");
    return QStringLiteral("%1至%2").arg(choice.first.toString(format), choice.first.addDays(6).toString(format));
}

QString homeWeekVerdict(const HomeWeek &week)
{
    if (week.overall.isEmpty())
        return QString();
    return (week.isAbove() ? QStringLiteral("高于") : QStringLiteral("低于"))
           + QStringLiteral("家庭血压参考值 %1/%2 mmHg").arg(HomeReferenceSystolic).arg(HomeReferenceDiastolic);
}

QString homeWeekShortfall(const HomeWeek &week)
{
    return week.hasTooFew() ? QStringLiteral("读数不足 %1 次，平均值仅供参考").arg(EnoughReadings) : QString();
}

QString homeWeekAbout(const WeekChoice &choice)
{
    const QString leftOut = choice.daysLeftOut == 0
                                ? QStringLiteral("7 天的读数都计入")
                                : QStringLiteral("前 %1 天不计，其余读数").arg(choice.daysLeftOut);
    return QStringLiteral("按高血压防治指南的家庭血压监测方法计算：连续 7 天早晚测量，%1取平均值，"
                          "与家庭血压参考值 135/85 mmHg 比较。这只是读数的平均，不是诊断。")
        .arg(leftOut);
}

QString averageText(const BpAverage &average)
{
    if (average.isEmpty())
        return QStringLiteral("—");
    return QStringLiteral("%1 mmHg（%2 次）").arg(bpText(average.systolic, average.diastolic)).arg(average.count);
}

QString pulseAverageText(const BpAverage &average)
{
    if (average.pulseCount == 0)
        return QStringLiteral("—");
    return QStringLiteral("脉搏 %1 次/分（%2 次）").arg(average.pulse).arg(average.pulseCount);
}

} // namespace velmora
