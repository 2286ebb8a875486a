// The reports for the doctor through the real window: the records as CSV,
// the chart as PNG, the A4 report as PDF, the tooltip over a mark, the
// context menu and its shortcuts, and exports that fail or are refused.

#include "chart/chart_hits.h"
#include "gui_support.h"
#include "report_support.h"
#include "model/cvd_estimate.h"
#include "records/csv_table.h"
#include "reports/analysis_menu.h"
#include "reports/factor_window.h"
#include "reports/medicine_lines.h"
#include "reports/period_dialog.h"
#include "reports/print_dialog.h"
#include "reports/report_menu.h"
#include "reports/report_pdf.h"
#include "ui/cvd_questions.h"
#include "ui/trend_chart_view.h"
#include "widgets/chart_tooltips.h"
#include "widgets/context_menu.h"
#include "widgets/file_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QPushButton>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTextDocumentFragment>
#include <QToolTip>

#include <deque>
#include <map>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// Forty check-ups of a man over three years, one every 27 days from
// 2022-01-10; the eighteenth has a text as cholesterol.
QByteArray threeYears()
{
    QByteArray out;
    const QDateTime start(QDate(2022, 1, 10), QTime(8, 0));
    for (int i = 0; i < 40; ++i) {
        const QByteArray id = start.addDays(27 * i).toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
        const QByteArray cholesterol = i == 17 ? g(u"未测") : QByteArray::number(5.2 + (i % 5) * 0.2);
        out += crlfLines({id, g(u"男"), "58", "172", QByteArray::number(84 - i / 8), "1.5",
                          QByteArray::number(150 - i / 2), "88", "5.8", "20", "10", cholesterol, "95", g(u"有")});
    }
    return out;
}

// Pixels of the marked values' red in a page of a PDF; -1 when pdftoppm is missing.
int markedRedPixels(const QString &pdf, int page)
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        return -1;
    const QString png = pdf + QStringLiteral(".png");
    QProcess::execute(pdftoppm, {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-f"), QString::number(page),
                                 QStringLiteral("-l"), QString::number(page), QStringLiteral("-png"),
                                 QStringLiteral("-singlefile"), pdf, pdf});
    const QImage image(png);
    QFile::remove(png);
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 190 && c.green() < 70 && c.blue() < 70;
        }
    return red;
}

// Answers the questions of the ten-year risk as told, and keeps what it was shown.
class ScriptedCvdDialog : public CvdQuestionDialog
{
public:
    std::optional<CvdAnswers> answer;
    QList<std::pair<CvdAnswers, bool>> shown; // the answers offered, and whether from the records' hints

    std::optional<CvdAnswers> ask(const QString &, const CvdAnswers &offered, bool fromHints) override
    {
        shown << std::pair{offered, fromHints};
        return answer;
    }
};

struct Reports
{
    ScriptedFileDialogs dialogs; // outlive the window, which uses them
    ScriptedPrintDialog printing;
    ScriptedPeriodDialog periods;
    std::unique_ptr<Window> w;
    QTemporaryDir out;
    ReportMenu *reports = nullptr;
    AnalysisMenu *analysis = nullptr;

    // A started window with the user "Ann", her records, the menu installed,
    // and the display button pressed when asked.
    explicit Reports(const QByteArray &records, bool display = true)
        : w(std::make_unique<Window>("Ann\r\n"))
    {
        TrendChartView *chart = w->form->chartView();
        reports = new ReportMenu(
            w->form->contextMenu(), w->form->diary(),
            [chart](qreal scale, const std::vector<ChartMark> &marks) { return chart->renderChart(scale, marks); },
            dialogs, printing, periods, w->messages);
        analysis = new AnalysisMenu(w->form->contextMenu(), w->form->diary(), periods, w->messages, *w->form);
        w->startWithAnn(records, display);
    }

    QString target(const QString &name) const { return out.filePath(name); }
    // Picks the export and answers its file dialog with `name` in the output folder: that file's path.
    QString exportAs(QAction *action, const QString &name)
    {
        dialogs.paths = {target(name)};
        action->trigger();
        return target(name);
    }
    QStringList leftInOut() const { return QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }
};

// The page sizes in points, "595x842" for A4, one per page.
QStringList pdfMediaBoxes(const QByteArray &pdf)
{
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+(\\d+)\\S*\\s+(\\d+)"));
    QStringList sizes;
    for (const QRegularExpressionMatch &m : box.globalMatch(QString::fromLatin1(pdf)))
        sizes << m.captured(1) + u'x' + m.captured(2);
    return sizes;
}

// Sends a mouse button event through the window, as the platform would:
// a right press there also asks for the context menu.
void windowMouse(QWidget *widget, QPoint at, bool press)
{
    QWidget *window = widget->window();
    const QPoint inWindow = widget->mapTo(window, at);
    if (press)
        QTest::mousePress(window->windowHandle(), Qt::RightButton, {}, inWindow);
    else
        QTest::mouseRelease(window->windowHandle(), Qt::RightButton, {}, inWindow);
}

} // namespace

class ReportsTest : public QObject
{
    Q_OBJECT

private slots:
    void csvHoldsTheRecordsAsLastRead()
    {
        Reports r(threeRecords());
        const QString csv = r.exportAs(r.reports->recordTableAction(), QStringLiteral("ann.csv"));
        QCOMPARE(r.dialogs.captions, QStringList{QStringLiteral("导出记录表格")});
        QCOMPARE(r.dialogs.suggestions, QStringList{QStringLiteral("Ann-记录-20100301.csv")});
        QVERIFY(r.w->messages.shown.isEmpty());
        QCOMPARE(readBytes(csv), ThreeRecordsCsv);
        QCOMPARE(r.leftInOut(), QStringList{QStringLiteral("ann.csv")});

        // Another user chosen but not yet displayed: the chart and the table are still Ann's.
        r.w->confirmUser(QStringLiteral("Bob"));
        QCOMPARE(readBytes(r.exportAs(r.reports->recordTableAction(), QStringLiteral("t.csv"))), ThreeRecordsCsv);
        QCOMPARE(r.dialogs.suggestions.last(), QStringLiteral("Ann-记录-20100301.csv"));
    }

    void csvQuotesAndGuardsAgainstFormulas()
    {
        RecordTable table;
        const auto text = [](const char16_t *s) { return Item::fromText(QString::fromUtf16(s)); };
        table[0][RecordIdField] = Item::fromText(QStringLiteral("=HYPERLINK(\"x\")"));
        table[0][SexField] = text(u"男");
        table[0][AgeField] = Item::fromNumber(-3);   // a number stays a number
        table[0][HeightField] = text(u"+1");         // texts a spreadsheet would compute
        table[0][WeightField] = text(u"-2+3");
        table[0][WaistField] = text(u"@SUM(A1)");
        table[0][CholesterolField] = text(u"a,b");
        table[0][TriglyceridesField] = text(u"说 \"高\"");
        table[0][SystolicField] = text(u"1=1"); // only the first character counts
        table[1][RecordIdField] = Item::fromText(QStringLiteral("2009062021"));
        const std::vector<double> scores{12.346, -0.001};
        const RecordSheet sheet = recordSheet(table, 2, scores);
        const QByteArray csv = recordsCsv(sheet);
        const QList<QByteArray> lines = csv.split('\n');
        QCOMPARE(lines.size(), 4); // three lines, each ended by CR LF
        QCOMPARE(lines[1], QByteArray("\"'=HYPERLINK(\"\"x\"\")\",男,-3,'+1,'-2+3,'@SUM(A1),\"a,b\","
                                      "\"说 \"\"高\"\"\",1=1,,,,,,12.35\r"));
        QCOMPARE(lines[2], QByteArray("2009062021,,,,,,,,,,,,,,0\r")); // not fourteen digits: as it stands
        QCOMPARE(lines[3], QByteArray());

        QCOMPARE(csvField(QStringLiteral("a\r\nb")), QStringLiteral("\"a\r\nb\""));
        QCOMPARE(guardedCellText({QStringLiteral("\tx"), true}), QStringLiteral("'\tx"));
        QCOMPARE(guardedCellText({QStringLiteral("-5"), false}), QStringLiteral("-5"));
    }

    void pngIsTheChartAtTwiceItsSize()
    {
        Reports r(threeRecords());
        const QByteArray png = readBytes(r.exportAs(r.reports->chartImageAction(), QStringLiteral("chart.png")));
        QVERIFY(r.w->messages.shown.isEmpty());
        QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
        const QImage image = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(r.w->child("Picture1")->size(), QSize(721, 401));
        QCOMPARE(image.size(), QSize(1442, 802));

        // The window's chart as drawn at twice its size (the drawing itself is checked with the chart view);
        // the first bar, 751 twips in, stands from the baseline (800 px) up to 6000 - 3346.56 twips (354 px).
        QImage drawn = r.w->form->chartView()->renderChart(2.0).convertToFormat(QImage::Format_RGB32);
        drawn.setDevicePixelRatio(1); // a PNG file has none
        QCOMPARE(image, drawn);
        const auto red = [&](int y) { return image.pixel(100, y) == qRgb(255, 0, 0); };
        QVERIFY(red(360) && red(790) && !red(345));
    }

    // The overview, the factor charts and one page of records.
    void pdfIsThreeA4PagesForAShortHistory()
    {
        Reports r(threeRecords());
        const QString pdfFile = r.exportAs(r.reports->reportPdfAction(), QStringLiteral("report.pdf"));
        QCOMPARE(r.dialogs.suggestions, QStringList{QStringLiteral("Ann-健康报告-20100301.pdf")});
        QVERIFY(r.w->messages.shown.isEmpty());
        const QByteArray pdf = readBytes(pdfFile);
        QVERIFY(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
        QCOMPARE(pdfPageCount(pdf), 3);
        QCOMPARE(reportPageCount(3), 3);
        QCOMPARE(r.leftInOut(), QStringList{QStringLiteral("report.pdf")});

        const QString text = pdfText(pdfFile);
        if (text.isNull())
            QSKIP("pdftotext is not installed");
        for (const QString &expected : {QStringLiteral("风险评分"), QStringLiteral("血压/高"), QStringLiteral("Ann"),
                                        QStringLiteral("心脑血管健康日记"), QStringLiteral("2009-06-20 21:01:29")})
            QVERIFY2(text.contains(expected), qPrintable(expected + u'\n' + text));
        // No radical stands in for the character printed (⾎ for 血, ⻛ for 风).
        const auto radical = [](QChar c) { return c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF; };
        QVERIFY2(std::none_of(text.begin(), text.end(), radical), qPrintable(text));
    }

    void printGivesTheChosenPagesOnTheChosenPaper_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("choice"); // pages, copies, order: "2-9", "x2", "uncollated", "reversed"
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("reportPages");
        QTest::addColumn<QString>("printed"); // the page numbers as they come out
        QTest::addColumn<QString>("mediaBox");
        QTest::newRow("two pages of records") << 60 << "" << int(QPageSize::A4) << 4 << "1234" << "595x842";
        QTest::newRow("page 2 only") << 60 << "2-2" << int(QPageSize::A4) << 4 << "2" << "595x842";
        QTest::newRow("pages 2 to 9 of 4") << 60 << "2-9" << int(QPageSize::A4) << 4 << "234" << "595x842";
        QTest::newRow("last page first") << 3 << "reversed" << int(QPageSize::A4) << 3 << "321" << "595x842";
        QTest::newRow("two copies uncollated") << 3 << "x2 uncollated" << int(QPageSize::A4) << 3 << "112233"
                                               << "595x842";
        QTest::newRow("letter") << 3 << "" << int(QPageSize::Letter) << 3 << "123" << "612x792";
    }

    void printGivesTheChosenPagesOnTheChosenPaper()
    {
        QFETCH(int, records);
        QFETCH(QString, choice);
        QFETCH(int, paper);
        QFETCH(int, reportPages);
        QFETCH(QString, printed);
        QFETCH(QString, mediaBox);
        Reports r(womanEntries(records));
        r.printing.outputFile = r.target(QStringLiteral("printed.pdf"));
        r.printing.paper = QPageSize(QPageSize::PageSizeId(paper));
        if (const QRegularExpressionMatch range = QRegularExpression(QStringLiteral("(\\d)-(\\d)")).match(choice);
            range.hasMatch()) {
            r.printing.fromPage = range.captured(1).toInt();
            r.printing.toPage = range.captured(2).toInt();
        }
        r.printing.copies = choice.contains(QStringLiteral("x2")) ? 2 : 1;
        r.printing.collate = !choice.contains(QStringLiteral("uncollated"));
        r.printing.lastPageFirst = choice.contains(QStringLiteral("reversed"));
        r.reports->printAction()->trigger();
        QCOMPARE(r.printing.pageCounts, QList<int>{reportPages});
        QVERIFY(r.w->messages.shown.isEmpty());
        const QByteArray pdf = readBytes(r.printing.outputFile);
        QCOMPARE(pdfPageCount(pdf), int(printed.size()));
        QCOMPARE(pdfMediaBoxes(pdf), QStringList(printed.size(), mediaBox));
        QCOMPARE(r.leftInOut(), QStringList{QStringLiteral("printed.pdf")});

        // The page footers in the order printed: "第2/2页" for the second of two.
        const QString text = pdfText(r.printing.outputFile);
        if (text.isNull())
            return;
        QString footers;
        static const QRegularExpression footer(QStringLiteral("第(\\d)/(\\d)页"));
        for (const QRegularExpressionMatch &m : footer.globalMatch(QString(text).remove(u' '))) {
            QCOMPARE(m.captured(2).toInt(), reportPages);
            footers += m.captured(1);
        }
        QCOMPARE(footers, printed);
    }

    // 评分构成… on a record label, and the factor window over a period with its figures.
    void scoreBreakdownAndFactorTrendsOfAPeriod()
    {
        Reports r(threeRecords());
        r.w->form->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(r.w->form.get()));
        windowMouse(r.w->menuLabel(1), QPoint(5, 5), true);
        windowMouse(r.w->menuLabel(1), QPoint(5, 5), false);
        QTRY_VERIFY_WITH_TIMEOUT(r.w->form->contextMenu().menu()->isVisible(), WindowWait);
        r.analysis->breakdownAction()->trigger();
        r.w->form->contextMenu().menu()->close();
        QVERIFY(r.analysis->breakdownDialog());
        const QString text = r.analysis->breakdownDialog()->findChild<QLabel *>(QStringLiteral("ScoreBreakdownText"))->text();
        QCOMPARE(text, r.w->form->chartToolTips().labelToolTip(1));
        QCOMPARE(text.section(u'\n', 0, 3), QStringLiteral("2009年11月05日08时30分00秒\n风险评分：1424，低于警戒线（约2100）\n"
                                                            "年龄 30 岁：1350 分\n腰围 70 cm，未高于 80 cm，计腰围本身：70 分"));

        r.periods.answer = Period{QDate(2009, 11, 1), QDate(2010, 12, 31)};
        r.analysis->factorTrendsAction()->trigger();
        FactorWindow *window = r.analysis->factorWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->summaryText(),
                 QStringLiteral("Ann　时段：2009年11月01日至2010年12月31日\n2 条记录，2009年11月05日 至 2010年03月01日"));
        const auto row = [window](int r) {
            QStringList cells;
            for (int c = 0; c < window->figuresTable().columnCount(); ++c)
                cells << window->figuresTable().item(r, c)->text();
            return cells;
        };
        QCOMPARE(window->figuresTable().rowCount(), int(ChartedFactors.size()) + 1);
        QCOMPARE(row(0), (QStringList{u"血压/高"_s, u"mmHg"_s, u"2"_s, u"120"_s, u"140"_s, u"130"_s, u"120"_s, u"140"_s,
                                      u"+20"_s, u"0 次"_s}));
        QCOMPARE(row(3), (QStringList{u"BMI"_s, u"kg/m²"_s, u"2"_s, u"19.53"_s, u"25.95"_s, u"22.74"_s, u"19.53"_s,
                                      u"25.95"_s, u"+6.42"_s, u"—"_s}));
        QCOMPARE(row(8), (QStringList{u"风险评分"_s, QString(), u"2"_s, u"1424"_s, u"0"_s, u"712"_s, u"0"_s, u"1424"_s,
                                      u"-1424"_s, u"—"_s}));
        QCOMPARE(window->chartsView().charts().size(), ChartedFactors.size() + 2); // the score first, the ten-year risk last
        QCOMPARE(window->chartsView().charts().back().title, u"十年心血管病风险（%）"_s);
        window->close();

        // The table of the same period: its two records.
        const QString periodCsv = r.exportAs(r.reports->recordTableAction(), QStringLiteral("period.csv"));
        const QList<QByteArray> all = ThreeRecordsCsv.split('\n');
        QCOMPARE(readBytes(periodCsv), all[0] + '\n' + all[2] + '\n' + all[3] + '\n');
        QFile::remove(periodCsv);

        // A period without records exports nothing.
        r.periods.answer = Period{QDate(2011, 1, 1), QDate(2011, 2, 1)};
        r.exportAs(r.reports->reportPdfAction(), QStringLiteral("empty.pdf"));
        QCOMPARE(r.w->messages.shown, QStringList{messages::NothingInPeriod});
        QVERIFY(r.leftInOut().isEmpty());
    }

    // Forty records over three years: the period, its figures, the latest
    // breakdown, dated factor charts and the values above thresholds in red.
    void pdfOfThreeYearsHoldsFiguresBreakdownAndCharts()
    {
        Reports r(threeYears());
        const QString path = r.exportAs(r.reports->reportPdfAction(), QStringLiteral("years.pdf"));
        QVERIFY(r.w->messages.shown.isEmpty());
        QCOMPARE(pdfPageCount(readBytes(path)), 3);
        const QString text = pdfText(path);
        if (text.isNull())
            QSKIP("pdftotext is not installed");
        for (const QString &expected :
             {u"时段：全部记录"_s, u"40 条记录，2022年01月10日 至 2024年11月28日"_s, u"时段统计"_s, u"数值个数"_s,
              u"最近一次记录的评分构成"_s, u"风险评分：3404.76，在低危线（约3000）与中危线（约3900）之间"_s,
              u"血压/高 131 mmHg，未高于 145 mmHg：0 分"_s, u"各项因素随时间的变化"_s, u"血压/高（mmHg）"_s,
              u"阈值 145"_s, u"2023"_s, u"2024"_s, u"低危线至中危线"_s, u"未测"_s})
            QVERIFY2(text.contains(expected), qPrintable(expected + u'\n' + text));
        // The statistics row of the systolic pressure: 40 values from 150 down to 131.
        QVERIFY2(text.contains(QRegularExpression(u"血压/高\\s+mmHg\\s+40\\s+150\\s+131\\s+140.5\\s+131\\s+150\\s+-19\\s+10 次"_s)),
                 qPrintable(text));
        const int red = markedRedPixels(path, 3);
        if (red < 0)
            return;
        QVERIFY(red > 100); // weights, waists and pressures above their thresholds
        Reports calm(womanEntries(3)); // nothing above a threshold
        QCOMPARE(markedRedPixels(calm.exportAs(calm.reports->reportPdfAction(), QStringLiteral("calm.pdf")), 3), 0);
    }

    void tooltipNamesTheRecordUnderAMark()
    {
        Reports r(threeRecords());
        const QString first = QStringLiteral("2009年06月20日21时01分29秒\n风险评分：3346.56，在低危线（约3000）与中危线（约3900）之间\n年龄 56 岁：2520 分");
        const QString second = QStringLiteral("2009年11月05日08时30分00秒\n风险评分：1424，低于警戒线（约2100）\n年龄 30 岁：1350 分");
        const auto tipAt = [&r](QPointF at) { return r.w->form->chartToolTips().toolTipAt(at).section(u'\n', 0, 2); };
        // The first bar stands at x 751..753 twips (50 px), from y 2653 twips (177 px) to the baseline (400 px).
        QCOMPARE(tipAt(QPointF(50, 300)), first);
        QCOMPARE(tipAt(QPointF(50, 175)), first);      // just above its top
        QCOMPARE(tipAt(QPointF(50, 150)), QString());  // well above it
        QCOMPARE(tipAt(QPointF(60, 300)), QString());  // beside it
        QCOMPARE(tipAt(QPointF(250, 390)), second);

        // Through the help event of the chart area.
        QWidget *picture = r.w->child("Picture1");
        QHelpEvent help(QEvent::ToolTip, QPoint(50, 300), picture->mapToGlobal(QPoint(50, 300)));
        QCoreApplication::sendEvent(picture, &help);
        // Shown as rich text, the ten-year risk in its band's colour; here without answers, so without it.
        const auto shownTip = [] { return QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText(); };
        QCOMPARE(shownTip().section(u'\n', 0, 2), first);
        QCOMPARE(shownTip().count(u'\n'), 1 + 1 + TermCount - 1 + 1);
        QCOMPARE(shownTip().section(u'\n', -1), u"十年心血管病风险：无估计（尚未回答吸烟、糖尿病与心梗或卒中史的问题）"_s);
        // Its window is titled with the plain text, where the real-window test reads it.
        const QWidgetList tops = QApplication::topLevelWidgets();
        const auto tipWindow = std::find_if(tops.begin(), tops.end(), [](QWidget *w) {
            return w->objectName() == u"qtooltip_label" && w->isVisible();
        });
        QVERIFY(tipWindow != tops.end());
        QCOMPARE((*tipWindow)->windowTitle(), r.w->form->chartToolTips().toolTipAt(QPointF(50, 300)));
        QHelpEvent nothing(QEvent::ToolTip, QPoint(400, 100), picture->mapToGlobal(QPoint(400, 100)));
        QCoreApplication::sendEvent(picture, &nothing);
        QTRY_VERIFY(!QToolTip::isVisible());

        // The record labels: a text as cholesterol is said as such; a label without a record has none.
        QHelpEvent overLabel(QEvent::ToolTip, QPoint(5, 5), r.w->menuLabel(2)->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(r.w->menuLabel(2), &overLabel);
        QCOMPARE(shownTip().section(u'\n', 0, 2),
                 QStringLiteral("2010年03月01日09时05分03秒\n风险评分：0，低于警戒线（约2100）\n胆固醇是文字，各项无法相加，评分为 0"));
        QCOMPARE(r.w->form->chartToolTips().labelToolTip(0).section(u'\n', 0, 2), first);
        QCOMPARE(r.w->form->chartToolTips().labelToolTip(3), QString());

        // The curve: a circle of 35 twips around each point.
        r.w->click("Option2");
        r.w->click("Command1");
        // Entry 1: centre at 3753 twips (250.2 px), 4576 twips (305.1 px).
        QCOMPARE(tipAt(QPointF(252, 307)), second);
        QCOMPARE(tipAt(QPointF(250, 330)), QString());

        // The statement over the chart hides the marks.
        r.w->click("Command7");
        QCOMPARE(tipAt(QPointF(252, 307)), QString());
        r.w->click("Command7");

        // No marks, no tooltips.
        r.w->click("Command5");
        QCOMPARE(tipAt(QPointF(252, 307)), QString());
    }

    void nearestMarkWins()
    {
        // Two bars 30 twips apart, a circle elsewhere.
        const std::vector<ChartMark> marks = {
            {ChartMark::Kind::Rectangle, 1000, 6000, 1002, 3000, 0},
            {ChartMark::Kind::Rectangle, 1030, 6000, 1032, 3000, 0},
        };
        QCOMPARE(entryAtChartPoint(marks, QPointF(1010, 4000), 60), std::optional<int>(0));
        QCOMPARE(entryAtChartPoint(marks, QPointF(1020, 4000), 60), std::optional<int>(1));
        QCOMPARE(entryAtChartPoint(marks, QPointF(1031, 2000), 60), std::nullopt);
        const std::vector<ChartMark> curve = {
            {ChartMark::Kind::Circle, 1000, 3000, 0, 0, 35},
            {ChartMark::Kind::Point, 1000, 3000, 0, 0, 0},
            {ChartMark::Kind::Circle, 1100, 3100, 0, 0, 35},
            {ChartMark::Kind::Point, 1100, 3100, 0, 0, 0},
            {ChartMark::Kind::Line, 1100, 3100, 1000, 3000, 0},
        };
        QCOMPARE(chartEntryCount(curve), 2);
        QCOMPARE(entryAtChartPoint(curve, QPointF(1060, 3060), 60), std::optional<int>(1));
        QCOMPARE(entryAtChartPoint(curve, QPointF(1000, 3090), 60), std::optional<int>(0));
        QCOMPARE(entryAtChartPoint(curve, QPointF(1000, 3080), 60), std::optional<int>(0));
        QCOMPARE(entryAtChartPoint(curve, QPointF(900, 3000), 60), std::nullopt);
    }

    // Exports that write nothing: cancelled, failed, refused over a data file, or with nothing shown.
    void exportsThatWriteNothing_data()
    {
        QTest::addColumn<QString>("action");  // csv, png, pdf or print
        QTest::addColumn<QString>("target");  // "" cancels; "out/..." or "data/..."; a final "/": made a folder first
        QTest::addColumn<bool>("display");    // the display button pressed first
        QTest::addColumn<QString>("message"); // the start of the one message shown, if any
        const QString failed = u"导出失败，文件没有写入！"_s;
        QTest::newRow("pdf cancelled") << "pdf" << "" << true << "";
        QTest::newRow("print cancelled") << "print" << "" << true << "";
        QTest::newRow("csv into a missing folder") << "csv" << "out/no such folder/ann.csv" << true << failed + u"\n（"_s;
        QTest::newRow("pdf over a folder") << "pdf" << "out/taken.pdf/" << true << failed;
        QTest::newRow("png over a folder") << "png" << "out/taken.pdf/" << true << failed;
        QTest::newRow("csv over the record file") << "csv" << "data/Ann.dat" << true << messages::NotOverDataFile;
        QTest::newRow("csv over the user list") << "csv" << "data/yonghu.dat" << true << messages::NotOverDataFile;
        QTest::newRow("csv over another's file") << "csv" << "data/Other.DAT" << true << messages::NotOverDataFile;
        QTest::newRow("print into the record file") << "print" << "data/Ann.dat" << true << messages::NotOverDataFile;
        for (const char *action : {"csv", "png", "pdf", "print"})
            QTest::addRow("%s before the display button", action)
                << action << "out/x" << false << messages::NothingToExport;
    }
    void exportsThatWriteNothing()
    {
        QFETCH(QString, action);
        QFETCH(QString, target);
        QFETCH(bool, display);
        QFETCH(QString, message);
        Reports r(threeRecords(), display);
        const QByteArray records = r.w->records();
        QString path;
        if (!target.isEmpty()) {
            path = QDir(target.startsWith(u"out/") ? r.out.path() : r.w->dir.path()).filePath(target.section(u'/', 1));
            if (path.endsWith(u'/')) {
                QVERIFY(QDir().mkpath(path));
                path.chop(1);
            }
        }
        const QStringList before = r.leftInOut();
        r.dialogs.paths = {path};
        r.printing.outputFile = path;
        const std::map<QString, QAction *> actions = {
            {u"csv"_s, r.reports->recordTableAction()}, {u"png"_s, r.reports->chartImageAction()},
            {u"pdf"_s, r.reports->reportPdfAction()}, {u"print"_s, r.reports->printAction()}};
        actions.at(action)->trigger();
        QCOMPARE(r.w->messages.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(r.w->messages.last().startsWith(message), qPrintable(r.w->messages.last()));
        QCOMPARE(r.leftInOut(), before);
        QCOMPARE(QFileInfo(path).isDir(), target.endsWith(u'/'));
        QCOMPARE(r.w->records(), records);
        QCOMPARE(readBytes(r.w->folder.userListPath()), QByteArray("Ann\r\n"));
        QVERIFY(!QFileInfo::exists(QDir(r.w->dir.path()).filePath(u"Other.DAT"_s)));
        QCOMPARE(r.dialogs.captions.isEmpty() && r.printing.pageCounts.isEmpty(), !display);
    }

#ifdef Q_OS_UNIX
    // An export is made to be handed on: readable as any new file (umask 022: 0644), not 0600.
    void exportsGetThePermissionsOfAnyNewFile()
    {
        Reports r(threeRecords());
        const mode_t before = ::umask(022);
        const auto restore = qScopeGuard([before] { ::umask(before); });
        const std::map<QString, QAction *> actions = {{u"t.csv"_s, r.reports->recordTableAction()},
                                                      {u"t.png"_s, r.reports->chartImageAction()},
                                                      {u"t.pdf"_s, r.reports->reportPdfAction()}};
        for (const auto &[name, action] : actions) {
            r.dialogs.paths = {r.target(name)};
            action->trigger();
            struct stat status{};
            QVERIFY(::stat(QFile::encodeName(r.target(name)).constData(), &status) == 0);
            QVERIFY2((status.st_mode & 0777) == 0644, qPrintable(name + u' ' + QString::number(status.st_mode & 0777, 8)));
        }
    }
#endif

    // The ten-year risk: the questions asked once, when the breakdown first
    // wants them, prefilled from the records; then the risk in the breakdown in
    // its band's colour, in the factor window and on the report's first page.
    void tenYearRiskBesideTheScore()
    {
        ScriptedCvdDialog cvdDialog;
        Reports r(threeRecords());
        auto *questions = new CvdQuestions(*r.w->form, cvdDialog, r.w->messages);
        r.analysis->setBeforeEstimate([questions] { questions->askIfUnanswered(); });
        cvdDialog.answer = CvdAnswers{true, false, false};
        r.analysis->showScoreBreakdown(0);
        // No smoking in the latest record; a blood sugar of 7.2 and "糖尿病" as cholesterol.
        QCOMPARE(cvdDialog.shown, (QList{std::pair{CvdAnswers{false, true, false}, true}}));
        QCOMPARE(readBytes(r.w->form->diary().folder().cvdAnswersPath(u"Ann"_s)),
                 g(u"吸烟=是\r\n糖尿病=否\r\n心梗或卒中=否\r\n"));
        // 56, smoking, 150 mmHg, 6.2 mmol/L: 15.71%.
        const QString text = r.analysis->breakdownDialog()->findChild<QLabel *>(u"ScoreBreakdownText"_s)->text();
        QCOMPARE(text.section(u'\n', -2), u"十年心血管病风险：16%（10%–<20%）\n"
                                           u"WHO 2019 实验室模型（东亚校准）：男，56 岁，吸烟，收缩压 150 mmHg，无糖尿病，总胆固醇 6.2 mmol/L"_s);
        QLabel *band = r.analysis->breakdownDialog()->findChild<QLabel *>(u"CvdRiskBand"_s);
        QVERIFY(band && band->styleSheet().contains(cvd::bandColour(cvd::Band::From10)));
        r.analysis->showScoreBreakdown(1); // aged 30: no estimate, and no second asking
        QCOMPARE(cvdDialog.shown.size(), 1);
        QVERIFY(!r.analysis->breakdownDialog()->findChild<QLabel *>(u"CvdRiskBand"_s));

        r.analysis->factorTrendsAction()->trigger();
        const TimeChart &risk = r.analysis->factorWindow()->chartsView().charts().back();
        QCOMPARE(risk.points.size(), size_t(2));
        QCOMPARE(risk.points[1].value, 16.0); // 60, smoking, 140 mmHg, BMI 25.95: 15.73%
        r.analysis->factorWindow()->close();

        const QString pdf = pdfText(r.exportAs(r.reports->reportPdfAction(), u"risk.pdf"_s)).remove(u' ').remove(u'\n');
        if (pdf.isNull())
            QSKIP("pdftotext is not installed");
        for (QString expected : {u"十年心血管病风险：16%（10%–<20%）"_s,
                                 u"WHO2019非实验室模型（东亚校准）：男，60岁，吸烟，收缩压140mmHg，BMI26kg/m²"_s,
                                 cvdAboutText()})
            QVERIFY2(pdf.contains(expected.remove(u' ')), qPrintable(expected + u'\n' + pdf));

        // From the menu: the person's own answers; cancelled, nothing changes.
        cvdDialog.answer.reset();
        questions->action()->trigger();
        QCOMPARE(cvdDialog.shown.last(), std::pair(CvdAnswers{true, false, false}, false));
        QCOMPARE(r.w->form->diary().cvdAnswers(), (CvdAnswers{true, false, false}));

        // The dialog itself: OK once every question has an answer.
        CvdQuestionBox box(u"Ann"_s, CvdAnswers{true, std::nullopt, false}, true);
        QVERIFY(box.findChild<QLabel *>(u"CvdHint"_s));
        QVERIFY(!box.okButton()->isEnabled());
        box.group(1)->button(0)->click(); // 否
        QVERIFY(box.okButton()->isEnabled());
        QCOMPARE(box.answers(), (CvdAnswers{true, false, false}));
    }

    void contextMenuOnTheChartAndTheColumn()
    {
        Reports r(threeRecords());
        r.w->form->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(r.w->form.get()));
        QMenu *menu = r.w->form->contextMenu().menu();
        QStringList entries;
        for (QAction *action : menu->actions())
            if (!action->isSeparator())
                entries << action->text() + u'\t' + action->shortcut().toString();
        QCOMPARE(entries, (QStringList{QStringLiteral("导出图表图片…\tCtrl+Shift+S"),
                                       QStringLiteral("导出记录表格…\tCtrl+Shift+E"),
                                       QStringLiteral("打印…\tCtrl+P"), QStringLiteral("导出 PDF…\tCtrl+Shift+P"),
                                       QStringLiteral("评分构成…\t"), QStringLiteral("因素趋势…\tCtrl+Shift+T")}));

        const QPoint before = r.w->form->pos();
        for (const QString &name : {QStringLiteral("Picture1"), QStringLiteral("Label4(1)"), QStringLiteral("Image4")}) {
            QWidget *control = r.w->child(name);
            const QPoint at = name == QStringLiteral("Image4") ? QPoint(3, control->height() - 3) : QPoint(5, 5);
            windowMouse(control, at, true);
            QVERIFY2(!menu->isVisible(), qPrintable(name)); // it opens once the button is up
            windowMouse(control, at, false);
            QTRY_VERIFY2_WITH_TIMEOUT(menu->isVisible(), qPrintable(name), WindowWait);
            menu->close();
            QTRY_VERIFY(!menu->isVisible());
        }
        // The right press over the chart started no drag of the window.
        QTest::mouseMove(r.w->form->windowHandle(), QPoint(400, 580));
        QTest::mouseMove(r.w->form->windowHandle(), QPoint(430, 560));
        QCOMPARE(r.w->form->pos(), before);

        // A pick in the menu exports.
        r.dialogs.paths = {r.target(QStringLiteral("menu.csv"))};
        windowMouse(r.w->child("Picture1"), QPoint(300, 100), true);
        windowMouse(r.w->child("Picture1"), QPoint(300, 100), false);
        QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), WindowWait);
        menu->setActiveAction(r.reports->recordTableAction());
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE(readBytes(r.target(QStringLiteral("menu.csv"))), ThreeRecordsCsv);
    }

    void shortcutsOfTheWindow()
    {
        Reports r(threeRecords());
        r.w->form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(r.w->form.get(), WindowWait));
        r.w->text(3)->setFocus(); // typing in an entry box does not hide them
        r.dialogs.paths = {QString(), QString(), QString()};
        QTest::keyClick(r.w->text(3), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(r.w->text(3), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(r.w->text(3), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(r.w->text(3), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(r.dialogs.captions, (QStringList{QStringLiteral("导出图表图片"), QStringLiteral("导出记录表格"),
                                                  QStringLiteral("导出 PDF")}));
        QCOMPARE(r.printing.pageCounts, QList<int>{3}); // Ctrl+P: the print dialog
        QCOMPARE(r.dialogs.filters, (QStringList{QStringLiteral("PNG 图片 (*.png)"), QStringLiteral("CSV 表格 (*.csv)"),
                                                 QStringLiteral("PDF 文件 (*.pdf)")}));
        QTest::keyClick(r.w->text(3), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(r.analysis->factorWindow() && r.analysis->factorWindow()->isVisible(), WindowWait);
        QCOMPARE(r.periods.captions,
                 (QStringList{QStringLiteral("导出图表图片：选择时段"), QStringLiteral("导出记录表格：选择时段"),
                              QStringLiteral("导出 PDF：选择时段"), QStringLiteral("打印：选择时段"),
                              QStringLiteral("因素趋势：选择时段")}));
        QCOMPARE(r.w->text(3)->text(), QString());
    }

    // ---- The medicine diary in the reports

    // Ann's medicines from October 2009, and home readings around the first
    // start: 148/92 twelve times in the two weeks before, 136/84 fourteen
    // times on days 15 to 28 after.
    static void writeMedicines(Reports &r)
    {
        r.w->writeUserFile(UserFile::Medicines,
                           g(u"时间\t事件\t药名\t剂量\t用法\t备注\r\n"
                             u"20091001080000\t开始\t氨氯地平\t5 mg\t每日1次\t\r\n"
                             u"20091201080000\t调整\t氨氯地平\t10 mg\t每日1次\t\r\n"
                             u"20100210080000\t开始\t阿托伐他汀\t20 mg\t每晚1次\t\r\n"
                             u"20100215080000\t单次\t阿司匹林\t100 mg\t\t\r\n"));
        QByteArray bp = g(u"时间\t收缩压\t舒张压\t脉搏\t来源\t备注\r\n");
        for (int d = 14; d > 2; --d)
            bp += QDate(2009, 10, 1).addDays(-d).toString(u"yyyyMMdd"_s).toLatin1() + "070000\t148\t92\t\tx\t\r\n";
        for (int d = 15; d <= 28; ++d)
            bp += QDate(2009, 10, 1).addDays(d).toString(u"yyyyMMdd"_s).toLatin1() + "070000\t136\t84\t\tx\t\r\n";
        r.w->writeUserFile(UserFile::BloodPressure, bp);
    }

    void thePdfHasAPageOfTheMedicines()
    {
        Reports r(threeRecords());
        writeMedicines(r);
        const QString path = r.exportAs(r.reports->reportPdfAction(), u"medicines.pdf"_s);
        QVERIFY(r.w->messages.shown.isEmpty());
        QCOMPARE(pdfPageCount(readBytes(path)), 4); // the overview, the factor charts, the medicines, the records
        r.printing.outputFile = r.target(u"printed.pdf"_s);
        r.reports->printAction()->trigger();
        QCOMPARE(r.printing.pageCounts, QList<int>{4});
        const QString text = pdfText(path);
        if (text.isNull())
            QSKIP("pdftotext is not installed");
        const QString page3 = text.section(u'\f', 2, 2);
        for (const QString &expected :
             {u"用药与血压"_s, u"2010年03月01日时在服用的药物"_s, u"氨氯地平 10 mg 每日1次（2009年10月01日起）"_s,
              u"阿托伐他汀 20 mg 每晚1次（2010年02月10日起）"_s,
              u"1. 2009年10月01日 开始 氨氯地平 5 mg 每日1次：之前平均 148/92（12 次），之后平均 136/84（14 次）"_s,
              u"2. 2009年12月01日 调整 氨氯地平 10 mg 每日1次：之前没有读数，之后没有读数"_s, u"不是用药建议"_s})
            QVERIFY2(page3.contains(expected), qPrintable(expected + u'\n' + page3));
        // A period before the medicines: no such page.
        r.periods.answer = Period{QDate(2009, 6, 1), QDate(2009, 7, 1)};
        QCOMPARE(pdfPageCount(readBytes(r.exportAs(r.reports->reportPdfAction(), u"before.pdf"_s))), 3);
    }

    void theFactorChartsShowTheMedicines()
    {
        Reports r(threeRecords());
        writeMedicines(r);
        r.analysis->factorTrendsAction()->trigger();
        FactorWindow *window = r.analysis->factorWindow();
        QVERIFY(window && window->isVisible());
        for (const TimeChart &chart : window->chartsView().charts()) {
            QCOMPARE(chart.medicines.size(), size_t(4));
            QCOMPARE(chart.medicines[1].label, u"氨氯地平 → 10 mg"_s);
        }
        QVERIFY2(window->medicineText().contains(
                     u"1. 2009年10月01日 开始 氨氯地平 5 mg 每日1次：之前平均 148/92（12 次），之后平均 136/84（14 次）"_s),
                 qPrintable(window->medicineText()));
        // A double click shows one chart alone; another brings all back.
        auto &view = const_cast<FactorChartsView &>(window->chartsView());
        QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(view.width() / 2, 10));
        QCOMPARE(view.enlarged(), 1);
        QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(view.enlarged(), -1);
        window->close();
    }

    // Labels that do not all fit give way to the changes' numbers.
    void crowdedMedicineLabelsBecomeNumbers()
    {
        std::vector<MedicineMark> marks;
        for (int k = 0; k < 6; ++k)
            marks.push_back({QDateTime(QDate(2024, 1, 1 + k), QTime(8, 0)), MedicineAction::Start,
                             u"阿托伐他汀 20 mg"_s, k, k + 1});
        QImage device(400, 300, QImage::Format_RGB32);
        const auto xOf = [](const QDateTime &when) { return 10.0 + 24 * (when.date().day() - 1); };
        const MedicineLines wide(marks, xOf, 0, 400, QFont(), &device, 10, 6);
        QVERIFY(!wide.numbered());
        QCOMPARE(wide.leftOut(), 0);
        QCOMPARE(wide.height(), 60.0); // a staircase of six lanes
        const MedicineLines narrow(marks, xOf, 0, 400, QFont(), &device, 10, 2);
        QVERIFY(narrow.numbered());
        QCOMPARE(narrow.leftOut(), 0);
    }
};

QTEST_MAIN(ReportsTest)
#include "tst_reports.moc"
