#pragma once

// The records as the exports show them, and the table for spreadsheets.
// Everything here is built from the records as last read.

#include "analysis/period.h"
#include "model/risk_model.h"
#include "records/health_record.h"

#include <QByteArray>
#include <QStringList>

#include <span>
#include <vector>

namespace velmora {

// One cell of the record sheet: the text shown, and whether it is a text item
// of the record file as it stands (which the CSV guards against formulas).
struct SheetCell
{
    QString text;
    bool fromFileText = false;
    bool marked = false; // above the model's threshold of its record (the A4 report marks it)

    bool operator==(const SheetCell &) const = default;
};

// The records as the exports show them: the column titles with their units
// (empty for a column without one), then one row per record in file order:
// date and time, the thirteen factors in screen order, the risk score.
struct RecordSheet
{
    QStringList titles; // "日期时间", "性别", "年龄", ... "风险评分"
    QStringList units;  // "", "", "岁", ... ""
    std::vector<std::vector<SheetCell>> rows;
};

// Positions 0 .. count - 1 of the table with their scores; a position without
// a score gets an empty score cell.
RecordSheet recordSheet(const RecordTable &table, int count, std::span<const double> scores);
// The records of a period, in time order, with the scores they were placed with.
RecordSheet recordSheet(const RecordHistory &history);

// A text item that a spreadsheet would take for a formula (it begins with
// = + - @, a tab or CR) gets a leading apostrophe; every other cell stays.
QString guardedCellText(const SheetCell &cell);

// The sheet as CSV for spreadsheets: UTF-8 with a byte-order mark, a CR LF
// after every line, units in brackets after the titles ("年龄(岁)").
QByteArray recordsCsv(const RecordSheet &sheet);

} // namespace velmora
