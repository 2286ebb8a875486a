#pragma once

// Dates and times as other programs write them in their tables: year first
// ("2024/11/21", "2024-11-21", "2024年11月21日", "20241121"), year last in
// either order ("21.11.2024", "11/21/2024"), with an English month name
// ("Jan 12 2025", "12 January 2025"); times of the day on a 24-hour clock or
// with AM/PM, 上午/下午 ("7:41 AM", "下午 9:05", "21:05:30"); a zone offset
// after the time ("+08:00", "-0700", "Z", "UTC+8") is read and kept apart.

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>

namespace velmora {

// How the numbers of a date with the year last are ordered. A date with the
// year first is always year, month, day.
enum class DateOrder { YearMonthDay, DayMonthYear, MonthDayYear };

struct WrittenTime
{
    QDate date;
    QTime time;                       // to the second; a fraction is dropped
    std::optional<int> offsetMinutes; // east of UTC, when the text names one

    bool operator==(const WrittenTime &) const = default;
};

// The whole text as a date; nothing when it is not one (or its year lies
// before 1900). A year-last date is read in `order`; with YearMonthDay it is
// not read at all.
std::optional<QDate> writtenDate(QStringView text, DateOrder order);
// The whole text as a time of the day.
std::optional<QTime> writtenTimeOfDay(QStringView text);
// The whole text as a date with a time, and perhaps a zone offset.
std::optional<WrittenTime> writtenDateTime(QStringView text, DateOrder order);

// How a year-last date's first two numbers are, for telling the order from
// the dates of a whole column.
struct YearLastNumbers
{
    bool yearLast = false; // a numeric date with the year last
    int first = 0, second = 0;
};
YearLastNumbers yearLastNumbers(QStringView text);

// "UTC+08:00", "UTC-07:00", "UTC".
QString offsetText(int offsetMinutes);

} // namespace velmora
