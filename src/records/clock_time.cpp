#include "records/clock_time.h"

#include <QByteArray>

namespace velmora {

std::optional<ClockStamp> clockStampOf(QByteArrayView digits)
{
    if (digits.size() != 14)
        return std::nullopt;
    ClockStamp stamp = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        stamp = stamp * 10 + (c - '0');
    }
    // Checked on the digits: a file of many dated lines makes no date for each.
    const ClockStamp day = stamp / 1000000;
    const int year = int(day / 10000), month = int(day / 100 % 100), dayOfMonth = int(day % 100);
    const int hour = int(stamp / 10000 % 100), minute = int(stamp / 100 % 100), second = int(stamp % 100);
    if (year < 1000 || !QDate::isValid(year, month, dayOfMonth) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return stamp;
}

ClockStamp clockStampOf(const QDate &date, const QTime &time)
{
    return ((ClockStamp(date.year()) * 100 + date.month()) * 100 + date.day()) * 1000000
           + (time.hour() * 100 + time.minute()) * 100 + time.second();
}

ClockStamp clockStampOf(const QDateTime &when)
{
    return clockStampOf(when.date(), when.time());
}

QDate stampDate(ClockStamp stamp)
{
    const ClockStamp day = stamp / 1000000;
    return QDate(int(day / 10000), int(day / 100 % 100), int(day % 100));
}

QTime stampTime(ClockStamp stamp)
{
    return QTime(int(stamp / 10000 % 100), int(stamp / 100 % 100), int(stamp % 100));
}

QDateTime stampDateTime(ClockStamp stamp)
{
    // In UTC, which has no daylight-saving gaps: a local time would move a
    // reading taken in the hour a clock change skips.
    return QDateTime(stampDate(stamp), stampTime(stamp), Qt::UTC);
}

void appendStampDigits(QByteArray &out, ClockStamp stamp)
{
    char digits[14];
    for (int i = 13; i >= 0; --i, stamp /= 10)
        digits[i] = char('0' + stamp % 10);
    out.append(digits, 14);
}

} // namespace velmora
