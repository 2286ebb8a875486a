#pragma once

// The reports for the doctor: the chart as a picture, the records as a table
// for spreadsheets, and both on an A4 page as PDF. Everything here is built
// from the records as last read; nothing the program keeps is changed.

#include "records/health_record.h"
#include "records/text_file.h"

#include <QDate>
#include <QImage>
#include <QStringList>

#include <array>
#include <span>
#include <vector>

class QPrinter;

namespace velmora {

class TrendChartView;

// The thirteen factors in the order of the window's entry row, left to right.
inline constexpr std::array<Field, 13> ScreenOrder = {
    SexField,           AgeField,      HeightField,    WeightField,     WaistField,   CholesterolField, //
    TriglyceridesField, SystolicField, DiastolicField, BloodSugarField, SmokingField, DrinkingField,    //
    HeredityField,
};

// One cell of the record sheet: the text shown, and whether it is a text item
// of the record file as it stands (which the CSV guards against formulas).
struct SheetCell
{
    QString text;
    bool fromFileText = false;

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

// "2009-06-20 21:01:29" for the RecordId 20090620210129; an id that is not
// fourteen digits comes back as it stands.
QString readableRecordTime(const QString &recordId);

// A risk score as the exports and the chart's tooltip show it: rounded to
// hundredths, in its shortest form ("3056.66", "1424").
QString scoreText(double score);

// Positions 0 .. count - 1 of the table with their scores; a position without
// a score gets an empty score cell.
RecordSheet recordSheet(const RecordTable &table, int count, std::span<const double> scores);

// One CSV field: quoted as RFC 4180 asks when it holds a comma, a quote, CR or LF.
QString csvField(const QString &text);

// A text item that a spreadsheet would take for a formula (it begins with
// = + - @, a tab or CR) gets a leading apostrophe; every other cell stays.
QString guardedCellText(const SheetCell &cell);

// The sheet as CSV for spreadsheets: UTF-8 with a byte-order mark, a CR LF
// after every line, units in brackets after the titles ("年龄(岁)").
QByteArray recordsCsv(const RecordSheet &sheet);

// The chart as it is shown now (template and marks) at twice its size, as PNG.
QByteArray chartPng(const TrendChartView &view);

// The content of the A4 report.
struct DoctorReport
{
    QString userName;
    QDate date;   // the day the report is made
    QImage chart; // the chart as shown, at any scale
    RecordSheet sheet;
};

// How many A4 pages the report takes for that many records.
int reportPageCount(int recordCount);

// Makes the printer ready for the report: A4 upright with the report's
// margins (the print dialog may change them), and the document's name.
void prepareReportPrinter(QPrinter &printer, const DoctorReport &report);

// Prints the report on a printer: the pages of its page range (all when it
// has none), shrunk where the paper is smaller than A4. False when the
// printer could not be started or finished.
bool printReport(QPrinter &printer, const DoctorReport &report);

// Prints the report to a PDF file through a temporary file, which is then
// copied into place atomically: a failure leaves no file at path. The printer
// gives the layout and the page range; without one, the whole report on A4.
FileResult writeReportPdf(const QString &path, const DoctorReport &report);
FileResult writeReportPdf(const QString &path, const DoctorReport &report, QPrinter &printer);

} // namespace velmora
