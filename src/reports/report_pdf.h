#pragma once

// The A4 report for the doctor: name, date, the chart and the records, printed
// or saved as PDF. Everything here is built from the records as last read;
// nothing the program keeps is changed.

#include "analysis/record_sheet.h"
#include "analysis/statistics_sheet.h"
#include "readings/home_week_sheet.h"
#include "medicines/medicine_report.h"
#include "records/text_file.h"
#include "reports/time_chart.h"

#include <QDate>
#include <QImage>
#include <QStringList>


class QPrinter;

namespace velmora {

// A picture as PNG bytes (the chart export).
QByteArray pngBytes(const QImage &image);

// The content of the A4 report.
struct DoctorReport
{
    QString userName;
    QDate date;   // the day the report is made
    QImage chart; // the chart as shown, at any scale
    RecordSheet sheet; // with the risk band as its last column
    QString period;        // "全部记录", "2024年01月01日至2024年03月31日"
    QString recordSummary; // "40 条记录，2023年01月05日 至 2025年12月20日"
    StatisticsSheet figures;
    QDateTime latestWhen;           // of the latest record of the period
    QStringList latestExplanation;  // its score explained
    QStringList latestCvdRisk;      // its ten-year cardiovascular risk and the model's inputs, or why there is none
    QString latestCvdColour;        // the risk band's colour, empty without an estimate
    std::vector<TimeChart> charts;  // the score and the factors over time
    TimeAxis axis;
    int homeReadingCount = 0;       // the period's home blood pressure readings; none: no such section
    HomeWeekSheet homeWeek;         // the latest monitoring week of the period, with those readings
    MedicineSection medicines;      // a page of its own unless empty,
    TimeChart medicineChart;        // with the systolic pressure across its width
};

// How many A4 pages the report takes for that many records, with or without
// the page of the medicines.
int reportPageCount(int recordCount, bool withMedicines = false);
int reportPageCount(const DoctorReport &report);

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
