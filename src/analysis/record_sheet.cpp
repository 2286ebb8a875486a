#include "analysis/record_sheet.h"

#include "records/csv_table.h"
#include "records/record_columns.h"
#include "records/record_id.h"

#include <algorithm>

namespace velmora {

namespace {

RecordSheet emptySheet()
{
    RecordSheet sheet;
    for (const RecordColumn &column : RecordColumns) {
        sheet.titles << column.titleText();
        sheet.units << column.unitText();
    }
    sheet.titles << ScoreSheetColumn.titleText();
    sheet.units << ScoreSheetColumn.unitText();
    return sheet;
}

std::vector<SheetCell> sheetRow(const HealthRecord &record, const QString &score)
{
    std::vector<SheetCell> row;
    row.reserve(RecordColumns.size() + 1);
    const Item &id = record[RecordIdField];
    const QString idText = id.displayText();
    if (isRecordIdText(idText))
        row.push_back({readableRecordTime(idText), false});
    else
        row.push_back({idText, id.isText()});
    for (size_t c = 1; c < RecordColumns.size(); ++c) {
        const Item &item = record[RecordColumns[c].field];
        row.push_back({item.displayText(), item.isText()});
    }
    row.push_back({score, false});
    return row;
}

} // namespace

RecordSheet recordSheet(const RecordTable &table, int count, std::span<const double> scores)
{
    RecordSheet sheet = emptySheet();
    count = std::clamp(count, 0, table.size());
    sheet.rows.reserve(size_t(count));
    for (int k = 0; k < count; ++k)
        sheet.rows.push_back(sheetRow(table[k], size_t(k) < scores.size() ? scoreText(scores[size_t(k)]) : QString()));
    return sheet;
}

RecordSheet recordSheet(const RecordHistory &history)
{
    RecordSheet sheet = emptySheet();
    sheet.rows.reserve(history.records.size());
    for (const DatedRecord &dated : history.records)
        sheet.rows.push_back(sheetRow(*dated.record, scoreText(dated.score)));
    return sheet;
}

QString guardedCellText(const SheetCell &cell)
{
    return cell.fromFileText ? formulaGuarded(cell.text) : cell.text;
}

QByteArray recordsCsv(const RecordSheet &sheet)
{
    std::vector<QStringList> rows;
    rows.reserve(sheet.rows.size() + 1);
    QStringList titles;
    for (qsizetype i = 0; i < sheet.titles.size(); ++i) {
        const QString unit = sheet.units.value(i);
        titles << (unit.isEmpty() ? sheet.titles[i] : sheet.titles[i] + u'(' + unit + u')');
    }
    rows.push_back(titles);
    for (const std::vector<SheetCell> &row : sheet.rows) {
        QStringList fields;
        for (const SheetCell &cell : row)
            fields << guardedCellText(cell);
        rows.push_back(fields);
    }
    return csvBytes(rows);
}

} // namespace velmora
