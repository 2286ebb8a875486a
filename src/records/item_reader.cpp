#include "records/item_reader.h"

#include <charconv>
#include <cstring>

namespace velmora {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Exact in double precision, so a whole number divided by one is correctly rounded.
constexpr double powersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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
            if (std::memcmp(text.constData(), bytes.data(), 2) == 0)
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
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Digits are gathered into an integer while they fit; a number with at most
    // 2^53 as its digits and at most 22 decimals is then one exact division away
    // (correctly rounded, the same double from_chars gives).
    quint64 mantissa = 0;
    bool exact = true;
    int digits = 0;
    int decimals = 0;
    while (p < end && isDigit(*p)) {
        if (mantissa < 100000000000000000ull)
            mantissa = mantissa * 10 + quint64(*p - '0');
        else
            exact = false;
        ++p; ++digits;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && isDigit(*p)) {
            if (mantissa < 100000000000000000ull)
                mantissa = mantissa * 10 + quint64(*p - '0');
            else
                exact = false;
            ++p; ++digits; ++decimals;
        }
    }
    if (digits == 0)
        return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        exact = false;
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
    if (exact && mantissa <= (quint64(1) << 53) && decimals <= 22) {
        const double parsed = double(mantissa) / powersOf10[decimals];
        *value = parsed == 0.0 ? 0.0 : (negative ? -parsed : parsed);
        return true;
    }
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
    const char *stop = m_pos;
    while (m_pos < m_end) {
        const char c = *m_pos;
        if (c == ',' || isLineEnd(c))
            break;
        ++m_pos;
        if (!isBlank(c))
            stop = m_pos;
    }
    // The common delimiter, CR LF, without the call.
    if (m_end - m_pos >= 2 && m_pos[0] == '\r' && m_pos[1] == '\n')
        m_pos += 2;
    else
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

// The common item, a plain decimal number between blanks, in one pass over its
// bytes. False (nothing consumed) for anything else, which takes the full path.
namespace {

bool readPlainNumber(const char *&pos, const char *end, double *value)
{
    const char *p = pos;
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    bool negative = false;
    if (p < end && *p == '-') {
        negative = true;
        ++p;
    }
    quint64 mantissa = 0;
    int digits = 0;
    int decimals = 0;
    while (p < end && unsigned(*p - '0') < 10u) {
        mantissa = mantissa * 10 + unsigned(*p - '0');
        ++p;
        ++digits;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && unsigned(*p - '0') < 10u) {
            mantissa = mantissa * 10 + unsigned(*p - '0');
            ++p;
            ++digits;
            ++decimals;
        }
    }
    if (digits == 0 || digits > 15)
        return false;
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    if (p < end) {
        if (*p == '\r') {
            ++p;
            if (p < end && *p == '\n')
                ++p;
        } else if (*p == '\n') {
            ++p;
        } else {
            return false; // a comma, an exponent or a text: the full path decides
        }
    }
    const double parsed = double(mantissa) / powersOf10[decimals];
    *value = parsed == 0.0 ? 0.0 : (negative ? -parsed : parsed);
    pos = p;
    return true;
}

} // namespace

void ItemReader::readInto(Item &item)
{
    double plain = 0.0;
    if (readPlainNumber(m_pos, m_end, &plain)) {
        item.setNumber(plain);
        return;
    }
    // The common two-byte texts (sex, heredity) alone on their line.
    if (m_end - m_pos >= 4 && m_pos[2] == '\r' && m_pos[3] == '\n') {
        const QByteArray &shared = sharedText(QByteArrayView(m_pos, 2));
        if (!shared.isEmpty()) {
            if (item.textBytes().constData() != shared.constData() || !item.isText())
                item.setTextBytes(shared);
            m_pos += 4;
            return;
        }
    }
    bool quoted = false;
    const QByteArrayView raw = nextRaw(&quoted);
    if (raw.isEmpty()) {
        item.clear();
        return;
    }
    double value = 0.0;
    if (parseNumber(raw, &value)) {
        item.setNumber(value);
        return;
    }
    const QByteArray &shared = sharedText(raw);
    if (shared.isEmpty())
        item.setTextBytes(raw);
    else
        item.setTextBytes(shared);
}

} // namespace velmora
