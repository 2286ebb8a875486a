#include "readings/bp_file.h"

#include "records/gbk.h"
#include "records/text_file.h"

#include <QHash>

#include <algorithm>

namespace velmora {

namespace {

constexpr int FieldCount = 6;

// A whole number written as the file writes it: digits, no leading zero.
std::optional<int> plainNumber(QByteArrayView field)
{
    if (field.isEmpty() || field.size() > 3 || (field.size() > 1 && field[0] == '0'))
        return std::nullopt;
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The sources of a file are few and repeat on every line: each is decoded
// once, and the last one is compared before any lookup.
class TextCache
{
public:
    std::optional<QString> text(QByteArrayView bytes)
    {
        if (bytes.isEmpty())
            return QString();
        if (m_hasLast && bytes == m_lastBytes)
            return m_lastText;
        const QByteArray key = bytes.toByteArray();
        auto known = m_texts.constFind(key);
        if (known == m_texts.cend()) {
            const std::optional<QString> decoded = fieldText(bytes);
            if (!decoded)
                return std::nullopt;
            if (m_texts.size() >= 256)
                m_texts.clear();
            known = m_texts.insert(key, *decoded);
        }
        m_hasLast = true;
        m_lastBytes = key;
        m_lastText = *known;
        return m_lastText;
    }

private:
    QHash<QByteArray, QString> m_texts;
    bool m_hasLast = false;
    QByteArray m_lastBytes;
    QString m_lastText;
};

std::optional<BpReading> parseLine(QByteArrayView line, TextCache &sources)
{
    const LineFields fields = tabFields(line);
    if (fields.size() != FieldCount || line.contains('\r'))
        return std::nullopt;
    const auto stamp = clockStampOf(fields[0]);
    const auto systolic = plainNumber(fields[1]);
    const auto diastolic = plainNumber(fields[2]);
    const auto pulse = fields[3].isEmpty() ? std::optional<int>(0) : plainNumber(fields[3]);
    const auto source = sources.text(fields[4]);
    const auto note = fieldText(fields[5]);
    if (!stamp || !systolic || !diastolic || !pulse || !source || !note || (fields[3].size() && *pulse == 0))
        return std::nullopt;
    if (bpValueRefusal(*systolic, *diastolic, *pulse))
        return std::nullopt;
    return BpReading{*stamp, *systolic, *diastolic, *pulse, *source, *note};
}

// A text a field can hold: no tab, no line break.
bool fitsAField(const QString &text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c == u'\t' || c == u'\r' || c == u'\n'; });
}

// Appends the field of a text in GBK; false when it cannot be a field. The
// sources repeat on every line: the last one is kept encoded, as are a few
// others.
class FieldWriter
{
public:
    bool append(QByteArray &out, const QString &text)
    {
        if (text.isEmpty())
            return true;
        if (m_hasLast && text == m_last) {
            out.append(m_lastBytes);
            return true;
        }
        auto known = m_encoded.constFind(text);
        if (known == m_encoded.cend()) {
            std::optional<QByteArray> bytes = fitsAField(text) ? encodeGbk(text) : std::nullopt;
            if (!bytes)
                return false;
            if (m_encoded.size() >= 256)
                m_encoded.clear();
            known = m_encoded.insert(text, *bytes);
        }
        m_last = text;
        m_lastBytes = *known;
        m_hasLast = true;
        out.append(m_lastBytes);
        return true;
    }

private:
    QHash<QString, QByteArray> m_encoded;
    bool m_hasLast = false;
    QString m_last;
    QByteArray m_lastBytes;
};

// Writes a whole number from 0 as the file writes it (no leading zero) before `end`; gives its first character.
char *numberBefore(char *end, int value)
{
    do {
        *--end = char('0' + value % 10);
        value /= 10;
    } while (value > 0);
    return end;
}

// The stamp and the three values, with the tabs after them.
void appendTimeAndValues(QByteArray &out, const BpReading &reading)
{
    appendStampDigits(out, reading.stamp);
    char values[16];
    char *end = values + sizeof values;
    *--end = '\t';
    if (reading.pulse)
        end = numberBefore(end, reading.pulse);
    *--end = '\t';
    end = numberBefore(end, reading.diastolic);
    *--end = '\t';
    end = numberBefore(end, reading.systolic);
    *--end = '\t';
    out.append(end, values + sizeof values - end);
}

bool appendReading(QByteArray &out, const BpReading &reading, FieldWriter &fields)
{
    if (bpValueRefusal(reading.systolic, reading.diastolic, reading.pulse))
        return false;
    appendTimeAndValues(out, reading);
    if (!fields.append(out, reading.source))
        return false;
    out.append('\t');
    if (reading.note.isEmpty())
        return true;
    if (!fitsAField(reading.note))
        return false;
    const std::optional<QByteArray> note = encodeGbk(reading.note);
    if (note)
        out.append(*note);
    return note.has_value();
}

} // namespace

QByteArray bpFileHeader()
{
    return gbk(QStringLiteral("时间\t收缩压\t舒张压\t脉搏\t来源\t备注"));
}

BpFile readBpFile(QByteArrayView content)
{
    TextCache sources;
    return readLineFile<BpReading>(content, bpFileHeader(),
                                   [&](QByteArrayView line) { return parseLine(line, sources); });
}

std::optional<QByteArray> bpFileContent(const BpFile &file)
{
    FieldWriter fields;
    return lineFileContent(bpFileHeader(), file, [&](QByteArray &out, const BpReading &reading) {
        return appendReading(out, reading, fields);
    });
}

bool writeBpFile(QIODevice &device, const BpFile &file)
{
    const std::optional<QByteArray> content = bpFileContent(file);
    return content && writeAll(device, *content);
}

} // namespace velmora
