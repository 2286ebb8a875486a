#include "imports/written_time.h"

#include <QRegularExpression>

namespace velmora {

namespace {

constexpr int EarliestYear = 1900;

// The patterns; each is tried from where the text still has to be read.
struct Patterns
{
    static QRegularExpression made(const char *text)
    {
        return QRegularExpression(QString::fromUtf8(text), QRegularExpression::CaseInsensitiveOption);
    }
    QRegularExpression yearFirst = made(R"((\d{4})\s*[-/.年]\s*(\d{1,2})\s*[-/.月]\s*(\d{1,2})\s*日?)");
    QRegularExpression yearLast = made(R"((\d{1,2})\s*[-/.]\s*(\d{1,2})\s*[-/.]\s*(\d{4}))");
    QRegularExpression digits = made(R"((\d{4})(\d{2})(\d{2})(?:(\d{2})(\d{2})(\d{2}))?(?!\d))");
    QRegularExpression nameFirst = made(R"(([a-z]{3,9})\.?[\s-]+(\d{1,2})(?:st|nd|rd|th)?\s*,?[\s-]+(\d{4}))");
    QRegularExpression dayFirstName = made(R"((\d{1,2})[\s-]+([a-z]{3,9})\.?\s*,?[\s-]+(\d{4}))");
    QRegularExpression weekday = made(R"((?:mon|tue|wed|thu|fri|sat|sun)[a-z]*\.?,?\s+)");
    QRegularExpression between = made(R"([\sT,]*)");
    QRegularExpression clock = made(
        R"((?:(上午|下午|凌晨|早上|中午|晚上)\s*)?(\d{1,2})\s*[:：时点]\s*(\d{1,2}))"
        R"((?:\s*[:：分]\s*(\d{1,2})(?:[.,]\d+)?\s*秒?|\s*分)?(?:\s*(a\.?m\.?|p\.?m\.?|上午|下午))?)");
    QRegularExpression zone = made(R"(\s*(?:(z)|(?:utc|gmt)?\s*([+-])(\d{1,2})(?::?(\d{2}))?|(utc|gmt)))");
    QRegularExpression rest = made(R"(\s*$)");
};

const Patterns &patterns()
{
    static const Patterns made;
    return made;
}

struct Cursor
{
    QStringView text;
    qsizetype at = 0;

    // The pattern matched right at the cursor, which then moves past it.
    QRegularExpressionMatch take(const QRegularExpression &expression)
    {
        QRegularExpressionMatch match =
            expression.match(text, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (match.hasMatch())
            at = match.capturedEnd();
        return match;
    }
    bool atEnd() { return take(patterns().rest).hasMatch(); }
};

int number(const QRegularExpressionMatch &match, int group)
{
    return match.capturedView(group).toInt();
}

int monthOfName(QStringView name)
{
    static const char16_t *const Names[] = {u"january", u"february", u"march",     u"april",   u"may",      u"june",
                                            u"july",    u"august",   u"september", u"october", u"november", u"december"};
    const QString lower = name.toString().toLower();
    for (int m = 0; m < 12; ++m)
        if (lower.size() >= 3 && QStringView(Names[m]).startsWith(lower))
            return m + 1;
    return 0;
}

std::optional<QDate> dateOf(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid() || year < EarliestYear)
        return std::nullopt;
    return date;
}

// The date at the cursor; a compact fourteen-digit stamp also gives its time.
std::optional<QDate> takeDate(Cursor &cursor, DateOrder order, std::optional<QTime> *stampTime)
{
    const qsizetype start = cursor.at;
    cursor.take(patterns().weekday);
    if (auto m = cursor.take(patterns().digits); m.hasMatch()) {
        if (m.capturedLength(4) && stampTime)
            *stampTime = QTime(number(m, 4), number(m, 5), number(m, 6));
        if (!m.capturedLength(4) || stampTime)
            return dateOf(number(m, 1), number(m, 2), number(m, 3));
        cursor.at = start;
    }
    if (auto m = cursor.take(patterns().yearFirst); m.hasMatch())
        return dateOf(number(m, 1), number(m, 2), number(m, 3));
    if (auto m = cursor.take(patterns().yearLast); m.hasMatch()) {
        if (order == DateOrder::DayMonthYear)
            return dateOf(number(m, 3), number(m, 2), number(m, 1));
        if (order == DateOrder::MonthDayYear)
            return dateOf(number(m, 3), number(m, 1), number(m, 2));
        return std::nullopt;
    }
    if (auto m = cursor.take(patterns().nameFirst); m.hasMatch())
        return dateOf(number(m, 3), monthOfName(m.capturedView(1)), number(m, 2));
    if (auto m = cursor.take(patterns().dayFirstName); m.hasMatch())
        return dateOf(number(m, 3), monthOfName(m.capturedView(2)), number(m, 1));
    return std::nullopt;
}

std::optional<QTime> takeTime(Cursor &cursor)
{
    const QRegularExpressionMatch m = cursor.take(patterns().clock);
    if (!m.hasMatch())
        return std::nullopt;
    int hour = number(m, 2);
    const QString before = m.captured(1);
    const QString after = m.captured(5).toLower().remove(u'.');
    const bool noon = before == u"中午";
    const bool pm = after == u"pm" || after == u"下午" || before == u"下午" || before == u"晚上";
    const bool am = after == u"am" || after == u"上午" || before == u"上午" || before == u"凌晨" || before == u"早上";
    if ((pm || am || noon) && hour > 12)
        return std::nullopt;
    if ((pm && hour < 12) || (noon && hour < 11))
        hour += 12;
    else if (am && hour == 12)
        hour = 0;
    const QTime time(hour, number(m, 3), m.capturedLength(4) ? number(m, 4) : 0);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

// The zone offset at the cursor, in minutes east; nothing when there is none.
std::optional<int> takeOffset(Cursor &cursor, bool *bad)
{
    const QRegularExpressionMatch m = cursor.take(patterns().zone);
    if (!m.hasMatch())
        return std::nullopt;
    if (m.capturedLength(1) || m.capturedLength(5))
        return 0;
    const int hours = number(m, 3), minutes = m.capturedLength(4) ? number(m, 4) : 0;
    if (hours > 14 || minutes > 59) {
        *bad = true;
        return std::nullopt;
    }
    const int offset = hours * 60 + minutes;
    return m.capturedView(2) == u"-" ? -offset : offset;
}

} // namespace

std::optional<QDate> writtenDate(QStringView text, DateOrder order)
{
    Cursor cursor{text.trimmed()};
    const std::optional<QDate> date = takeDate(cursor, order, nullptr);
    if (!date || !cursor.atEnd())
        return std::nullopt;
    return date;
}

std::optional<QTime> writtenTimeOfDay(QStringView text)
{
    Cursor cursor{text.trimmed()};
    const std::optional<QTime> time = takeTime(cursor);
    if (!time || !cursor.atEnd())
        return std::nullopt;
    return time;
}

std::optional<WrittenTime> writtenDateTime(QStringView text, DateOrder order)
{
    Cursor cursor{text.trimmed()};
    std::optional<QTime> stampTime;
    const std::optional<QDate> date = takeDate(cursor, order, &stampTime);
    if (!date)
        return std::nullopt;
    std::optional<QTime> time = stampTime;
    if (!time) {
        cursor.take(patterns().between);
        time = takeTime(cursor);
    }
    if (!time || !time->isValid())
        return std::nullopt;
    bool bad = false;
    const std::optional<int> offset = takeOffset(cursor, &bad);
    if (bad || !cursor.atEnd())
        return std::nullopt;
    return WrittenTime{*date, *time, offset};
}

YearLastNumbers yearLastNumbers(QStringView text)
{
    Cursor cursor{text.trimmed()};
    cursor.take(patterns().weekday);
    const QRegularExpressionMatch m = cursor.take(patterns().yearLast);
    if (!m.hasMatch())
        return {};
    return {true, number(m, 1), number(m, 2)};
}

QString offsetText(int offsetMinutes)
{
    if (offsetMinutes == 0)
        return QStringLiteral("UTC");
    const int size = std::abs(offsetMinutes);
    return QStringLiteral("UTC%1%2:%3")
        .arg(QChar(offsetMinutes < 0 ? u'-' : u'+'))
        .arg(size / 60, 2, 10, QLatin1Char('0'))
        .arg(size % 60, 2, 10, QLatin1Char('0'));
}

} // namespace velmora
