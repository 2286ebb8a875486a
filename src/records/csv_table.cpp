#include "csv_table.h"

#include <QStringDecoder>

#include <algorithm>

namespace velmora {

namespace {

std::optional<QString> decodeStrictly(QStringDecoder &decoder, QByteArrayView bytes)
{
    QString text = decoder(bytes);
    // The GBK decoder takes bytes outside GBK into the private use area
    // without an error; no text of a record table holds such characters.
    const bool foreign = std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == QChar::ReplacementCharacter || (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF);
    });
    if (decoder.hasError() || foreign)
        return std::nullopt;
    return text;
}

} // namespace

std::optional<QString> decodeTableText(QByteArrayView bytes)
{
    const QByteArrayView bom("\xEF\xBB\xBF");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    if (bytes.startsWith(bom))
        return decodeStrictly(utf8, bytes.sliced(bom.size()));
    if (auto text = decodeStrictly(utf8, bytes))
        return text;
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    return decodeStrictly(gbk, bytes);
}

bool CsvRow::isBlank() const
{
    return std::all_of(fields.begin(), fields.end(), [](const QString &field) { return field.isEmpty(); });
}

CsvTable parseCsv(QStringView text, QChar separator)
{
    CsvTable table;
    CsvRow row{1, {}};
    QString field;
    bool inQuotes = false;
    bool pending = false; // something of the current row has been read
    const auto endRow = [&] {
        row.fields << field;
        field.clear();
        table.rows.push_back(std::move(row));
        row = CsvRow{int(table.rows.size()) + 1, {}};
        pending = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                inQuotes = false;
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
            continue;
        }
        pending = true;
        if (c == separator) {
            row.fields << field;
            field.clear();
        } else if (c == u'"' && field.isEmpty()) {
            inQuotes = true;
        } else {
            field += c;
        }
    }
    if (inQuotes)
        table.unclosedQuoteRow = row.number;
    else if (pending)
        endRow();
    return table;
}

} // namespace velmora
