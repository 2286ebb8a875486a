#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <iterator>
#include <optional>
#include <vector>

namespace velmora {

// The text of a table file as this program saves it or as a spreadsheet saves
// it again: UTF-8 with or without a byte-order mark, or else GBK. Nothing
// when the bytes are neither.
std::optional<QString> decodeTableText(QByteArrayView bytes);

// One row of a CSV table and its number as a spreadsheet counts rows (the
// first row is 1; a quoted line break does not start a new row).
struct CsvRow
{
    int number = 0;
    QStringList fields;

    bool isBlank() const; // an empty line, or only empty fields
};

struct CsvTable
{
    std::vector<CsvRow> rows;
    int unclosedQuoteRow = 0; // the row where a quoted field never ends; 0 for none
};

// Splits CSV text as RFC 4180 has it: fields between separators, a field in
// double quotes may hold separators, line breaks and doubled quotes ("").
// Rows end with CR LF, LF or CR. A quote inside an unquoted field is kept as
// it stands.
CsvTable parseCsv(QStringView text, QChar separator);

// One CSV field: quoted as RFC 4180 asks when it holds a comma, a quote, CR or LF.
QString csvField(const QString &text);

// The rows as CSV for spreadsheets: UTF-8 with a byte-order mark (spreadsheets
// then read the Chinese right in any language of the system), the fields
// quoted where needed, a CR LF after every row.
QByteArray csvBytes(const std::vector<QStringList> &rows);

// The same of a table: the titles, then `row(item)` of each item.
template <typename Items, typename Row>
QByteArray csvTable(const QStringList &titles, const Items &items, Row row)
{
    std::vector<QStringList> rows;
    rows.reserve(size_t(std::size(items)) + 1);
    rows.push_back(titles);
    for (const auto &item : items)
        rows.push_back(row(item));
    return csvBytes(rows);
}

} // namespace velmora
