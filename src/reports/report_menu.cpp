#include "reports/report_menu.h"

#include "analysis/score_explanation.h"
#include "chart/risk_lines.h"
#include "diary/diary.h"
#include "records/record_columns.h"
#include "reports/period_dialog.h"
#include "reports/print_dialog.h"
#include "reports/report_pdf.h"
#include "reports/time_chart.h"
#include "widgets/context_menu.h"
#include "widgets/export_file.h"
#include "widgets/file_dialogs.h"

#include <QAction>
#include <QImage>
#include <QPrinter>

namespace velmora {

ReportMenu::ReportMenu(ContextMenu &menu, const Diary &diary, ChartPicture chart, FileDialogs &dialogs,
                       PrintDialog &printing, PeriodDialog &periods, MessageBoxes &messages)
    : QObject(&menu), m_diary(diary), m_chart(std::move(chart)), m_periods(periods), m_messages(messages),
      m_exports(diary.folder(), dialogs, printing, messages)
{
    setObjectName(QStringLiteral("ReportMenu"));
    m_chartImage = menu.addAction(QStringLiteral("导出图表图片…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                                  [this] { exportChartImage(); });
    m_recordTable = menu.addAction(QStringLiteral("导出记录表格…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                                   [this] { exportRecordTable(); });
    menu.addSeparator();
    m_print = menu.addAction(QStringLiteral("打印…"), QKeySequence(Qt::CTRL | Qt::Key_P), [this] { print(); });
    m_reportPdf = menu.addAction(QStringLiteral("导出 PDF…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                                 [this] { exportReportPdf(); });
    m_chartImage->setObjectName(QStringLiteral("ExportChartImage"));
    m_recordTable->setObjectName(QStringLiteral("ExportRecordTable"));
    m_print->setObjectName(QStringLiteral("PrintReport"));
    m_reportPdf->setObjectName(QStringLiteral("ExportReportPdf"));
    m_chartImage->setToolTip(QStringLiteral("把图表连同标记存为 PNG 图片（两倍大小）"));
    m_recordTable->setToolTip(QStringLiteral("把当前用户的各次记录和风险评分存为电子表格可以打开的 CSV 文件"));
    m_print->setToolTip(QStringLiteral("把姓名、图表和各次记录排成一份 A4 报告，在打印机上打印出来"));
    m_reportPdf->setToolTip(QStringLiteral("把同一份 A4 报告存为 PDF 文件"));
}

bool ReportMenu::haveRecords()
{
    if (m_diary.recordCount() > 0 && !m_diary.tableUser().isEmpty())
        return true;
    m_messages.inform(messages::NothingToExport);
    return false;
}

std::optional<ReportMenu::Scope> ReportMenu::chooseScope(const QString &caption)
{
    RecordHistory all = diaryHistory(m_diary);
    const std::optional<Period> period = askPeriod(m_periods, caption + QStringLiteral("：选择时段"), m_diary, all);
    if (!period)
        return std::nullopt;
    if (period->isAll())
        return Scope{*period, std::move(all)};
    Scope scope{*period, inPeriod(all, *period)};
    if (scope.records.records.empty()) {
        m_messages.inform(messages::NothingInPeriod);
        return std::nullopt;
    }
    return scope;
}

// All records: the chart as shown. A period: its scores drawn as the chart draws them, in its style.
QImage ReportMenu::chartOf(const Scope &scope) const
{
    const std::vector<ChartMark> &shown = m_diary.chartMarks();
    if (scope.period.isAll())
        return m_chart(2.0, shown);
    const bool bars = std::any_of(shown.begin(), shown.end(),
                                  [](const ChartMark &m) { return m.kind == ChartMark::Kind::Rectangle; });
    std::vector<double> scores;
    for (const DatedRecord &r : scope.records.records)
        scores.push_back(r.score);
    return m_chart(2.0, trendChartMarks(scores, int(scores.size()), bars ? ChartStyle::Bars : ChartStyle::Curve));
}

QString ReportMenu::chooseTarget(const QString &caption, const QString &what, const QString &suffix,
                                 const QString &filter)
{
    return m_exports.chooseTarget(caption, exportFileName(m_diary.tableUser(), what, m_diary.now().date(), suffix),
                                  filter);
}

void ReportMenu::exportChartImage()
{
    if (!haveRecords())
        return;
    const std::optional<Scope> scope = chooseScope(QStringLiteral("导出图表图片"));
    if (!scope)
        return;
    const QString path = chooseTarget(QStringLiteral("导出图表图片"), QStringLiteral("趋势图"), QStringLiteral("png"),
                                      QStringLiteral("PNG 图片 (*.png)"));
    if (path.isEmpty())
        return;
    QByteArray png;
    {
        BusyCursor busy;
        png = pngBytes(chartOf(*scope));
    }
    if (png.isEmpty())
        m_exports.tellIfFailed(FileResult::failure(QStringLiteral("the picture could not be made")));
    else
        m_exports.save(path, png);
}

void ReportMenu::exportRecordTable()
{
    if (!haveRecords())
        return;
    const std::optional<Scope> scope = chooseScope(QStringLiteral("导出记录表格"));
    if (!scope)
        return;
    const QString path = chooseTarget(QStringLiteral("导出记录表格"), QStringLiteral("记录"), QStringLiteral("csv"),
                                      QStringLiteral("CSV 表格 (*.csv)"));
    if (path.isEmpty())
        return;
    // All records in file order, those without a date too; a period in time order.
    const RecordSheet sheet = scope->period.isAll()
                                  ? recordSheet(m_diary.recordTable(), m_diary.recordCount(), m_diary.scoreColumn())
                                  : recordSheet(scope->records);
    m_exports.save(path, recordsCsv(sheet));
}

DoctorReport ReportMenu::currentReport(const Scope &scope) const
{
    DoctorReport report;
    report.userName = m_diary.tableUser();
    report.date = m_diary.now().date();
    report.chart = chartOf(scope);
    report.period = periodText(scope.period);
    const PeriodStatistics statistics = periodStatistics(scope.records);
    report.recordSummary = recordCountText(statistics);
    report.figures = statisticsSheet(statistics);
    const BpFile *home = m_diary.homeReadings(m_diary.tableUser());
    const std::vector<BpReading> readings =
        home ? readingsWithin(home->entries, scope.period.from, scope.period.to) : std::vector<BpReading>();
    report.charts = periodCharts(scope.records, readings);
    report.axis = timeAxisOf(scope.records, scope.period, readings);
    if (!readings.empty()) {
        report.homeReadingCount = int(readings.size());
        report.homeWeek = homeWeekSheet(homeWeek(readings, WeekChoice{defaultFirstDay(readings), 1, {}}));
    }
    addMedicineSection(report, scope.period, scope.records);
    if (!scope.records.records.empty()) {
        const DatedRecord &latest = scope.records.records.back();
        report.latestExplanation = scoreExplanation(*latest.record, m_diary.explainRecord(latest.position));
        report.latestWhen = latest.when;
        const CvdEstimate risk = m_diary.estimateRecord(latest.position);
        report.latestCvdRisk = cvdExplanation(risk);
        if (risk.isEstimate())
            report.latestCvdColour = cvd::bandColour(risk.band);
    }
    // The table: all records in file order, or the period's in time order, each value above its threshold marked.
    std::vector<int> positions;
    if (scope.period.isAll()) {
        for (int k = 0; k < m_diary.recordCount(); ++k)
            positions.push_back(k);
        report.sheet = recordSheet(m_diary.recordTable(), m_diary.recordCount(), m_diary.scoreColumn());
    } else {
        for (const DatedRecord &r : scope.records.records)
            positions.push_back(r.position);
        report.sheet = recordSheet(scope.records);
    }
    markAboveThresholds(report.sheet, positions);
    return report;
}

// The medicine events on the factor charts, and the page of the medicines:
// the systolic chart across the page with them, what was taken at the end of
// the period (the report's day when it has no end), each change within it
// with the pressure before and after.
void ReportMenu::addMedicineSection(DoctorReport &report, const Period &period, const RecordHistory &records) const
{
    const QString user = m_diary.tableUser();
    const MedicineFile *medicines = m_diary.medicines(user);
    if (!medicines || medicines->entries.empty())
        return;
    const QDate last = period.to.isNull() ? report.date : std::min(period.to, report.date);
    addMedicines(report.charts, medicines->entries, period.from, last);
    report.medicineChart = factorTimeChart(factorSeries(Factor::Systolic, records));
    if (const BpFile *home = m_diary.homeReadings(user))
        addHomeReadings(report.medicineChart, Factor::Systolic, readingsWithin(home->entries, period.from, period.to));
    report.medicineChart.medicines = report.charts.front().medicines;
    report.medicines = medicineSection(medicines->entries, m_diary.bloodPressureReadings(user), period.from, last);
    report.axis = withMedicines(report.axis, period, report.charts);
}

void ReportMenu::markAboveThresholds(RecordSheet &sheet, const std::vector<int> &positions) const
{
    sheet.titles << QStringLiteral("风险区间");
    sheet.units << QString();
    for (size_t r = 0; r < sheet.rows.size(); ++r) {
        std::vector<SheetCell> &row = sheet.rows[r];
        const int position = positions[r];
        const bool scored = position < int(m_diary.scoreColumn().size());
        const ScoreBreakdown breakdown = m_diary.explainRecord(position);
        const FieldSet above = breakdown.aboveThreshold();
        for (size_t c = 1; c < RecordColumns.size(); ++c)
            row[c].marked = above.contains(RecordColumns[c].field);
        const double score = scored ? m_diary.scoreColumn()[size_t(position)] : 0;
        row.push_back({scored ? riskBandName(riskBandOf(score)) : QString(), false});
    }
}

void ReportMenu::print()
{
    if (!haveRecords())
        return;
    const std::optional<Scope> scope = chooseScope(QStringLiteral("打印"));
    if (!scope)
        return;
    const DoctorReport report = currentReport(*scope);
    QPrinter printer(QPrinter::HighResolution);
    prepareReportPrinter(printer, report);
    m_exports.print(printer, reportPageCount(report),
                    [&](QPrinter &chosen) { return printReport(chosen, report); });
}

void ReportMenu::exportReportPdf()
{
    if (!haveRecords())
        return;
    const std::optional<Scope> scope = chooseScope(QStringLiteral("导出 PDF"));
    if (!scope)
        return;
    const QString path = chooseTarget(QStringLiteral("导出 PDF"), QStringLiteral("健康报告"),
                                      QStringLiteral("pdf"), QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    FileResult saved;
    {
        BusyCursor busy;
        saved = writeReportPdf(path, currentReport(*scope));
    }
    m_exports.tellIfFailed(saved);
}

} // namespace velmora
