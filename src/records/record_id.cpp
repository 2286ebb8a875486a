#include "records/record_id.h"

#include <algorithm>

namespace velmora {

bool isRecordIdText(const QString &text)
{
    return text.size() == 14 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString recordDateCaption(const QString &recordId)
{
    return QStringLiteral("%1年%2月%3日%4时%5分%6秒")
        .arg(recordId.mid(0, 4), recordId.mid(4, 2), recordId.mid(6, 2), recordId.mid(8, 2), recordId.mid(10, 2),
             recordId.mid(12, 2));
}

QString readableRecordTime(const QString &recordId)
{
    if (!isRecordIdText(recordId))
        return recordId;
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(recordId.mid(0, 4), recordId.mid(4, 2), recordId.mid(6, 2), recordId.mid(8, 2), recordId.mid(10, 2),
             recordId.mid(12, 2));
}

namespace {

std::optional<QDateTime> timeOfDigits(QByteArrayView id, const QTimeZone &zone)
{
    if (id.size() != 14 || !std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    auto digits = [id](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i)
            value = value * 10 + (id[i] - '0');
        return value;
    };
    const QDate date(digits(0, 4), digits(4, 2), digits(6, 2));
    const QTime time(digits(8, 2), digits(10, 2), digits(12, 2));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    QDateTime when = zone.isValid() ? QDateTime(date, time, zone) : QDateTime(date, time);
    if (!when.isValid()) {
        // A wall time that a daylight-saving change skips (typed in or brought
        // in, never from the clock): keep its digits at the offset of the day
        // before, so it still has a date and a place in time.
        const QDateTime dayBefore = zone.isValid() ? QDateTime(date.addDays(-1), QTime(12, 0), zone)
                                                   : QDateTime(date.addDays(-1), QTime(12, 0));
        when = QDateTime(date, time, QTimeZone(dayBefore.offsetFromUtc()));
    }
    return when;
}

} // namespace

std::optional<QDateTime> recordTime(const QString &recordId, const QTimeZone &zone)
{
    return isRecordIdText(recordId) ? timeOfDigits(recordId.toLatin1(), zone) : std::nullopt;
}

std::optional<QDateTime> recordTime(const Item &recordId, const QTimeZone &zone)
{
    // GBK keeps ASCII digits as single bytes, so a text id needs no decoding.
    if (recordId.isText())
        return timeOfDigits(recordId.textBytes(), zone);
    if (recordId.isNumber())
        return timeOfDigits(formatNumber(recordId.number()), zone);
    return std::nullopt;
}

QString recordIdOf(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyyMMddHHmmss"));
}

std::optional<QString> recordIdOfSheetTime(const QString &text)
{
    QDate date;
    QTime time;
    if (text.size() == 19 && text[10] == u' ') {
        date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        time = QTime::fromString(text.mid(11), QStringLiteral("HH:mm:ss"));
    } else if (isRecordIdText(text)) {
        date = QDate::fromString(text.left(8), QStringLiteral("yyyyMMdd"));
        time = QTime::fromString(text.mid(8), QStringLiteral("HHmmss"));
    }
    // Built from the pieces, not through the local clock, so a time that a
    // daylight-saving change skips keeps its digits.
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return date.toString(QStringLiteral("yyyyMMdd")) + time.toString(QStringLiteral("HHmmss"));
}

} // namespace velmora
