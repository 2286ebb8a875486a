#include "item_reader.h"

#include <charconv>
#include <cstring>

namespace velmora {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The texts that fill most text items; sharing them saves an allocation per item.
const QByteArray &sharedText(QByteArrayView bytes)
{
    static const QByteArray common[] = {
        QByteArray("\xC4\xD0"), // 男
        QByteArray("\xC5\xAE"), // 女
        QByteArray("\xD3\xD0"), // 有
        QByteArray("\xCE\xDE"), // 无
    };
    static const QByteArray none;
    if (bytes.size() == 2) {
        for (const QByteArray &text : common)
            if (text == bytes)
                return text;
    }
    return none;
}

} // namespace

bool parseNumber(QByteArrayView text, double *value)
{
    const char *p = text.data();
    const char *end = p + text.size();
    const char *begin = p;
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    int digits = 0;
    while (p < end && isDigit(*p)) { ++p; ++digits; }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && isDigit(*p)) { ++p; ++digits; }
    }
    if (digits == 0)
        return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        const char *expDigits = p;
        while (p < end && isDigit(*p))
            ++p;
        if (p == expDigits)
            return false;
    }
    if (p != end)
        return false;
    const char *numberStart = (*begin == '+') ? begin + 1 : begin;
    double parsed = 0.0;
    const auto result = std::from_chars(numberStart, end, parsed);
    if (result.ec != std::errc() || result.ptr != end)
        return false; // out of range: kept as text, so its bytes survive
    *value = parsed == 0.0 ? 0.0 : parsed;
    return true;
}

ItemReader::ItemReader(QByteArrayView content)
    : m_pos(content.data()), m_end(content.data() + content.size())
{
}

void ItemReader::skipDelimiter()
{
    if (m_pos == m_end)
        return;
    if (*m_pos == ',') {
        ++m_pos;
        // A comma at the end of a line ends the line as well.
        const char *p = m_pos;
        while (p < m_end && isBlank(*p))
            ++p;
        if (p == m_end || !isLineEnd(*p))
            return;
        m_pos = p;
    }
    if (m_pos < m_end && *m_pos == '\r')
        ++m_pos;
    if (m_pos < m_end && *m_pos == '\n')
        ++m_pos;
}

QByteArrayView ItemReader::nextRaw(bool *quoted)
{
    while (m_pos < m_end && isBlank(*m_pos))
        ++m_pos;
    *quoted = m_pos < m_end && *m_pos == '"';
    if (*quoted) {
        const char *start = m_pos + 1;
        const char *close = static_cast<const char *>(std::memchr(start, '"', size_t(m_end - start)));
        const char *stop = close ? close : m_end;
        QByteArrayView field(start, stop - start);
        m_pos = close ? close + 1 : m_end;
        // Whatever stands between the closing quote and the delimiter is not part of the item.
        while (m_pos < m_end && *m_pos != ',' && !isLineEnd(*m_pos))
            ++m_pos;
        skipDelimiter();
        return field;
    }
    const char *start = m_pos;
    while (m_pos < m_end && *m_pos != ',' && !isLineEnd(*m_pos))
        ++m_pos;
    const char *stop = m_pos;
    while (stop > start && isBlank(stop[-1]))
        --stop;
    skipDelimiter();
    return QByteArrayView(start, stop - start);
}

QByteArrayView ItemReader::nextField()
{
    bool quoted = false;
    return nextRaw(&quoted);
}

Item ItemReader::next()
{
    bool quoted = false;
    const QByteArrayView raw = nextRaw(&quoted);
    if (raw.isEmpty())
        return Item();
    double value = 0.0;
    if (parseNumber(raw, &value))
        return Item::fromNumber(value);
    const QByteArray &shared = sharedText(raw);
    return Item::fromTextBytes(shared.isEmpty() ? raw.toByteArray() : shared);
}

} // namespace velmora
