#include "readings/bp_file.h"

#include "records/gbk.h"
#include "records/text_file.h"

#include <QHash>

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

// The sources of a file are few and repeat on every line: each is decoded once.
class TextCache
{
public:
    std::optional<QString> text(QByteArrayView bytes)
    {
        if (bytes.isEmpty())
            return QString();
        const auto known = m_texts.constFind(bytes.toByteArray());
        if (known != m_texts.cend())
            return *known;
        std::optional<QString> decoded = fieldText(bytes);
        if (decoded && m_texts.size() < 256)
            m_texts.insert(bytes.toByteArray(), *decoded);
        return decoded;
    }

private:
    QHash<QByteArray, QString> m_texts;
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

bool appendReading(QByteArray &out, const BpReading &reading, QHash<QString, QByteArray> &encoded)
{
    const auto gbkOf = [&](const QString &text) -> std::optional<QByteArray> {
        if (text.isEmpty())
            return QByteArray();
        const auto known = encoded.constFind(text);
        if (known != encoded.cend())
            return *known;
        std::optional<QByteArray> bytes = encodeGbk(text);
        if (bytes && encoded.size() < 256)
            encoded.insert(text, *bytes);
        return bytes;
    };
    if (bpValueRefusal(reading.systolic, reading.diastolic, reading.pulse))
        return false;
    const auto clean = [](const QString &text) {
        return !text.contains(u'\t') && !text.contains(u'\r') && !text.contains(u'\n');
    };
    if (!clean(reading.source) || !clean(reading.note))
        return false;
    const auto source = gbkOf(reading.source);
    const auto note = reading.note.isEmpty() ? std::optional<QByteArray>(QByteArray()) : encodeGbk(reading.note);
    if (!source || !note)
        return false;
    appendStampDigits(out, reading.stamp);
    out.append('\t').append(QByteArray::number(reading.systolic));
    out.append('\t').append(QByteArray::number(reading.diastolic)).append('\t');
    if (reading.pulse)
        out.append(QByteArray::number(reading.pulse));
    out.append('\t').append(*source).append('\t').append(*note);
    return true;
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
    QHash<QString, QByteArray> encoded;
    return lineFileContent(bpFileHeader(), file, [&](QByteArray &out, const BpReading &reading) {
        return appendReading(out, reading, encoded);
    });
}

bool writeBpFile(QIODevice &device, const BpFile &file)
{
    const std::optional<QByteArray> content = bpFileContent(file);
    return content && writeAll(device, *content);
}

} // namespace velmora
