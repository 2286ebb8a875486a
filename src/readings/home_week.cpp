#include "readings/home_week.h"

#include <algorithm>

namespace velmora {

namespace {

// The minute of the day a stamp names, counted from midnight.
int minuteOf(ClockStamp stamp)
{
    return int(stamp / 10000 % 100) * 60 + int(stamp / 100 % 100);
}

// A window as minutes of the day: a reading's place is decided without
// QTime, which a file of many readings would ask a great many times.
struct Span
{
    int from, to;

    explicit Span(const TimeWindow &window)
        : from(TimeWindow::minutes(window.from)), to(TimeWindow::minutes(window.to))
    {
    }
    bool crossesMidnight() const { return to < from; }
    bool contains(int minute) const
    {
        return crossesMidnight() ? minute >= from || minute <= to : minute >= from && minute <= to;
    }
    bool afterMidnight(int minute) const { return crossesMidnight() && minute <= to; }
};

struct Spans
{
    Span morning, evening;

    explicit Spans(const MonitoringWindows &windows) : morning(windows.morning), evening(windows.evening) {}
    Session session(int minute) const
    {
        if (morning.contains(minute))
            return Session::Morning;
        if (evening.contains(minute))
            return Session::Evening;
        return Session::Other;
    }
    // In the part of a window after midnight: the reading counts for the day before.
    bool countsForDayBefore(int minute) const
    {
        const Session s = session(minute);
        return (s == Session::Morning && morning.afterMidnight(minute))
               || (s == Session::Evening && evening.afterMidnight(minute));
    }
    QDate dayOf(ClockStamp stamp) const
    {
        const QDate date = stampDate(stamp);
        return countsForDayBefore(minuteOf(stamp)) ? date.addDays(-1) : date;
    }
};

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
    return Span(*this).contains(minutes(time));
}

std::optional<QString> windowsRefusal(const MonitoringWindows &windows)
{
    constexpr int Day = 24 * 60;
    // The minutes of the morning, walked from its start to its end (across midnight when it runs so).
    const Span morning(windows.morning), evening(windows.evening);
    const int length = (morning.to - morning.from + Day) % Day;
    for (int m = 0; m <= length; ++m)
        if (evening.contains((morning.from + m) % Day))
            return QStringLiteral("早晨和晚间的时段不能重叠，请修改！");
    return std::nullopt;
}

Session sessionOf(const QTime &time, const MonitoringWindows &windows)
{
    return Spans(windows).session(TimeWindow::minutes(time));
}

Session sessionOf(ClockStamp stamp, const MonitoringWindows &windows)
{
    return Spans(windows).session(minuteOf(stamp));
}

QDate monitoringDay(ClockStamp stamp, const MonitoringWindows &windows)
{
    return Spans(windows).dayOf(stamp);
}

QDate defaultFirstDay(std::span<const BpReading> readings, const MonitoringWindows &windows)
{
    // The latest date of a reading that counts for its own day, and of one
    // that counts for the day before, as numbers (YYYYMMDD): one date each to make.
    const Spans spans(windows);
    ClockStamp latestOwn = -1, latestBefore = -1;
    for (const BpReading &r : readings) {
        ClockStamp &latest = spans.countsForDayBefore(minuteOf(r.stamp)) ? latestBefore : latestOwn;
        latest = std::max(latest, r.stamp / 1000000);
    }
    QDate latest = latestOwn < 0 ? QDate() : stampDate(latestOwn * 1000000);
    if (latestBefore >= 0)
        latest = std::max(latest, stampDate(latestBefore * 1000000).addDays(-1));
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
    const Spans spans(choice.windows);
    Sums morning, evening, overall;
    for (const BpReading *r : inWeek) {
        const qint64 d = choice.first.daysTo(spans.dayOf(r->stamp));
        if (d < 0 || d > 6)
            continue;
        MonitoringDay &day = week.days[size_t(d)];
        const Session session = spans.session(minuteOf(r->stamp));
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
