#include "records/item.h"

#include "records/gbk.h"

#include <charconv>
#include <cmath>

namespace velmora {

Item Item::fromTextBytes(QByteArray gbkBytes)
{
    Item item;
    item.m_kind = Kind::Text;
    item.m_text = std::move(gbkBytes);
    return item;
}

Item Item::fromText(const QString &text)
{
    if (auto bytes = encodeGbk(text))
        return fromTextBytes(std::move(*bytes));
    return fromTextBytes(encodeGbkLossy(text));
}

QString Item::displayText() const
{
    switch (m_kind) {
    case Kind::Number:
        return QString::fromLatin1(formatNumber(m_number));
    case Kind::Text:
        return decodeGbk(m_text);
    case Kind::Empty:
        break;
    }
    return QString();
}

bool Item::operator==(const Item &other) const
{
    if (m_kind != other.m_kind)
        return false;
    if (m_kind == Kind::Number)
        return m_number == other.m_number;
    return m_text == other.m_text;
}

QByteArray formatNumber(double value)
{
    if (value == 0.0 || !std::isfinite(value)) // values in files are always finite
        return QByteArray("0");
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    // Within a hair of the largest double, 15 digits round up past it
    // ("1.79769313486232e+308"), which would read back as out of range and so
    // as a text; the shortest exact form stays a number.
    double check = 0.0;
    if (std::fabs(value) > 1e308 && std::from_chars(buffer, result.ptr, check).ec == std::errc::result_out_of_range)
        result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, int(result.ptr - buffer));
}

double leadingNumberValue(const QString &text)
{
    QByteArray compact;
    compact.reserve(text.size());
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n')
            continue;
        compact.append(c.unicode() < 128 ? char(c.unicode()) : '\x7f');
    }
    const char *p = compact.constData();
    const char *end = p + compact.size();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char *mantissa = p;
    int digits = 0;
    while (p < end && *p >= '0' && *p <= '9') { ++p; ++digits; }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && *p >= '0' && *p <= '9') { ++p; ++digits; }
    }
    if (digits == 0)
        return 0.0;
    const char *numberEnd = p;
    if (p < end && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
        const char *q = p + 1;
        if (q < end && (*q == '+' || *q == '-'))
            ++q;
        const char *expDigits = q;
        while (q < end && *q >= '0' && *q <= '9')
            ++q;
        if (q > expDigits)
            numberEnd = q;
    }
    QByteArray number(mantissa, int(numberEnd - mantissa));
    for (char &c : number)
        if (c == 'd' || c == 'D')
            c = 'e';
    double value = 0.0;
    auto result = std::from_chars(number.constData(), number.constData() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Keep it finite: a tiny number is 0, a huge one lies far beyond every limit.
        const bool tiny = number.contains("e-");
        value = tiny ? 0.0 : 1e300;
    }
    return negative ? -value : value;
}

} // namespace velmora
