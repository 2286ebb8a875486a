#include "records/csv_table.h"

#include "records/gbk.h"

#include <QStringDecoder>

#include <algorithm>

namespace velmora {

namespace {

// The GBK decoder takes bytes outside GBK into the private use area without
// an error; no text of a record table holds such characters.
std::optional<QString> withoutForeignCharacters(std::optional<QString> text)
{
    if (!text)
        return std::nullopt;
    const bool foreign = std::any_of(text->begin(), text->end(), [](QChar c) {
        return c == QChar::ReplacementCharacter || (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF);
    });
    if (foreign)
        return std::nullopt;
    return text;
}

std::optional<QString> decodeUtf8Strictly(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return withoutForeignCharacters(std::move(text));
}

} // namespace

std::optional<QString> decodeTableText(QByteArrayView bytes)
{
    const QByteArrayView bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom))
        return decodeUtf8Strictly(bytes.sliced(bom.size()));
    if (auto text = decodeUtf8Strictly(bytes))
        return text;
    return withoutForeignCharacters(decodeGbkStrictly(bytes));
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

QString csvField(const QString &text)
{
    const bool needsQuotes = text.contains(u',') || text.contains(u'"') || text.contains(u'\r') || text.contains(u'\n');
    if (!needsQuotes)
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QByteArray csvBytes(const std::vector<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i)
                text += u',';
            text += csvField(row[i]);
        }
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace velmora
