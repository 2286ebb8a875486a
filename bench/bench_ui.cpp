// The window's costs for record files of 1,001 and 100,000 entries:
// - BM_Display: the display button (read, score, chart marks, entry column);
// - BM_PaintChart: painting the chart area (template and every mark);
// - BM_Store: the store button from click to repainted chart, answers scripted;
// and for 10,000 dated entries, one a day:
// - BM_FactorWindow: the 因素趋势 window of all records, made and painted;
// - BM_ReportPdf: 导出 PDF… of all records, dialogs scripted, to the saved file.
// Runs offscreen, with the program folder in a temporary directory.

#include "bench_support.h"
#include "reports/factor_window.h"
#include "reports/period_dialog.h"
#include "reports/print_dialog.h"
#include "reports/report_menu.h"
#include "reports/report_pdf.h"
#include "ui/trend_chart_view.h"
#include "widgets/file_dialogs.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

using namespace velmora;
using namespace velmora::bench;

namespace {

void BM_Display(benchmark::State &state)
{
    BenchWindow window(int(state.range(0)));
    QPushButton *display = window.button("Command1");
    for (auto _ : state) {
        display->click();
        benchmark::DoNotOptimize(window.form->diary().chartMarks().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void paintChart(benchmark::State &state, const char *styleButton)
{
    BenchWindow window(int(state.range(0)));
    window.form->findChild<QWidget *>(QString::fromLatin1(styleButton))->setProperty("checked", true);
    window.button("Command1")->click();
    TrendChartView *chart = window.form->chartView();
    for (auto _ : state) {
        const QImage image = chart->renderChart(1.0);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PaintChart(benchmark::State &state) { paintChart(state, "Option1"); }
void BM_PaintChartCurve(benchmark::State &state) { paintChart(state, "Option2"); }

void BM_Store(benchmark::State &state)
{
    BenchWindow window(int(state.range(0)));
    QPushButton *store = window.button("Command2");
    TrendChartView *chart = window.form->chartView();
    for (auto _ : state) {
        state.PauseTiming();
        window.restoreRecords(); // every store writes into a file of the same size
        window.fillEntry();
        state.ResumeTiming();
        store->click();
        chart->repaint(); // the redrawn chart reaches the screen
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The dialogs of the reports, answered at once: all records, into one file.
struct ScriptedDialogs : FileDialogs, PrintDialog, PeriodDialog
{
    QString path;
    QString saveFileName(const QString &, const QString &, const QString &) override { return path; }
    bool choosePrinter(QPrinter &, int) override { return false; }
    std::optional<Period> choosePeriod(const QString &, QDate, QDate, QDate) override { return Period{}; }
};

void BM_FactorWindow(benchmark::State &state)
{
    BenchWindow window(int(state.range(0)), true);
    window.button("Command1")->click();
    for (auto _ : state) {
        FactorWindow factors;
        factors.showPeriod(QStringLiteral("Ann"), diaryHistory(window.form->diary()), Period{});
        QImage image(factors.size(), QImage::Format_ARGB32_Premultiplied);
        factors.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReportPdf(benchmark::State &state)
{
    BenchWindow window(int(state.range(0)), true);
    ScriptedDialogs dialogs;
    dialogs.path = window.dir.filePath(QStringLiteral("report.pdf"));
    TrendChartView *chart = window.form->chartView();
    ReportMenu reports(
        window.form->contextMenu(), window.form->diary(),
        [chart](qreal scale, const std::vector<ChartMark> &marks) { return chart->renderChart(scale, marks); },
        dialogs, dialogs, dialogs, window.messages);
    window.button("Command1")->click();
    for (auto _ : state)
        reports.exportReportPdf();
    state.counters["pages"] = reportPageCount(window.form->diary().recordCount());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_FactorWindow)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportPdf)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Display)->Arg(1001)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintChart)->Arg(1001)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintChartCurve)->Arg(1001)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Store)->Arg(1001)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runOffscreen(argc, argv);
}
