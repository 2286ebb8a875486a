#include "record_id.h"

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

std::optional<QDateTime> recordTime(const QString &recordId)
{
    if (!isRecordIdText(recordId))
        return std::nullopt;
    auto digits = [&recordId](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i)
            value = value * 10 + (recordId[i].unicode() - u'0');
        return value;
    };
    const QDate date(digits(0, 4), digits(4, 2), digits(6, 2));
    const QTime time(digits(8, 2), digits(10, 2), digits(12, 2));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
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
