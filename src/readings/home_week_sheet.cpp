#include "readings/home_week_sheet.h"

namespace velmora {

namespace {

QString dayText(const QDate &date)
{
    static const std::array<QString, 7> weekdays = {
        QStringLiteral("周一"), QStringLiteral("周二"), QStringLiteral("周三"), QStringLiteral("周四"),
        QStringLiteral("周五"), QStringLiteral("周六"), QStringLiteral("周日")};
    return date.toString(QStringLiteral("MM月dd日 ")) + weekdays[size_t(date.dayOfWeek() - 1)];
}

QString windowText(const TimeWindow &window)
{
    const QString format = QStringLiteral("HH:mm");
    return QStringLiteral("%1–%2").arg(window.from.toString(format), window.to.toString(format));
}

HomeDayRow dayRow(const MonitoringDay &day)
{
    HomeDayRow row;
    row.date = dayText(day.date);
    row.counted = day.counted;
    for (const PlacedReading &placed : day.readings) {
        const QString text = readingText(*placed.reading);
        row.readings[size_t(sessionColumn(placed.session))]
            << (stampDate(placed.reading->stamp) == day.date ? text : QStringLiteral("次日 ") + text);
    }
    return row;
}

} // namespace

int sessionColumn(Session session)
{
    return session == Session::Morning ? 0 : session == Session::Evening ? 1 : 2;
}

QString readingText(const BpReading &reading)
{
    return stampTime(reading.stamp).toString(QStringLiteral("HH:mm ")) + bpText(reading.systolic, reading.diastolic);
}

HomeWeekSheet homeWeekSheet(const HomeWeek &week)
{
    HomeWeekSheet sheet;
    const MonitoringWindows &windows = week.choice.windows;
    sheet.week = weekText(week.choice);
    sheet.titles = {QStringLiteral("日期"), QStringLiteral("早晨 ") + windowText(windows.morning),
                    QStringLiteral("晚间 ") + windowText(windows.evening), QStringLiteral("其他时间")};
    for (size_t d = 0; d < week.days.size(); ++d)
        sheet.days[d] = dayRow(week.days[d]);
    sheet.means << QStringLiteral("早晨平均 ") + averageText(week.morning)
                << QStringLiteral("晚间平均 ") + averageText(week.evening)
                << QStringLiteral("总平均 ") + averageText(week.overall);
    if (week.overall.pulseCount > 0)
        sheet.means << pulseAverageText(week.overall);
    sheet.verdict = homeWeekVerdict(week);
    sheet.shortfall = homeWeekShortfall(week);
    sheet.about = homeWeekAbout(week.choice);
    sheet.above = week.isAbove();
    return sheet;
}

} // namespace velmora
