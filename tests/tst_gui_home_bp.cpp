// Home blood pressure through the real windows: readings typed into their
// dialog, the week's report window with its choices and its A4 page, the
// readings beside the check-ups in the pressure charts and in the PDF report,
// the readings as CSV, and the menu's entries in their order.

#include "app/program.h"
#include "diary/messages.h"
#include "medicines/medicine_file.h"
#include "gui_support.h"
#include "readings/bp_csv.h"
#include "readings/bp_file.h"
#include "report_support.h"
#include "reports/analysis_menu.h"
#include "reports/home_bp_menu.h"
#include "reports/home_bp_window.h"
#include "reports/report_menu.h"
#include "ui/bp_reading_dialog.h"
#include "ui/history_menu.h"
#include "ui/past_record_dialog.h"
#include "ui/translations.h"
#include "widgets/context_menu.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QMenu>
#include <QTableWidget>
#include <QTimeEdit>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// Offers the readings in order and keeps what each store answered.
class ScriptedBpDialog : public BpReadingDialog
{
public:
    std::vector<Diary::TypedReading> readings;
    QList<bool> stored;
    QDateTime openedAt;

    void ask(const Clock &clock, const Store &store) override
    {
        openedAt = clock();
        for (const Diary::TypedReading &typed : readings)
            stored << store(typed);
    }
};

class NoPastRecords : public PastRecordDialog
{
public:
    void ask(const QDateTime &, const Store &) override {}
};

BpReading reading(const QDate &day, QTime time, int systolic, int diastolic, int pulse = 0)
{
    return {clockStampOf(day, time), systolic, diastolic, pulse, ManualSource, QString()};
}

// The week of 2010-02-22 to 02-28: mornings 07:00 140/90 and 07:02 138/88
// (pulse 70), evenings 21:00 130/80 and 21:02 128/78; on the last day also
// 14:30 120/75, and 126/76 at 00:30 after it, which counts for its evening.
// Day 1 left out: mornings 139/89 (12), evenings 129/79 (13), all 134/84 (25).
QByteArray weekFile()
{
    BpFile file;
    std::vector<BpReading> readings;
    for (int d = 0; d < 7; ++d) {
        const QDate day = QDate(2010, 2, 22).addDays(d);
        readings.push_back(reading(day, QTime(7, 0), 140, 90, 70));
        readings.push_back(reading(day, QTime(7, 2), 138, 88, 70));
        readings.push_back(reading(day, QTime(21, 0), 130, 80));
        readings.push_back(reading(day, QTime(21, 2), 128, 78));
    }
    readings.push_back(reading(QDate(2010, 2, 28), QTime(14, 30), 120, 75));
    readings.push_back(reading(QDate(2010, 3, 1), QTime(0, 30), 126, 76));
    file.insert(readings);
    return *bpFileContent(file);
}

// Ann with her three records displayed and the home blood pressure entries
// in the menu, beside the reports and the history.
struct HomeBp
{
    ScriptedFileDialogs dialogs; // outlive the window, which uses them
    ScriptedPrintDialog printing;
    ScriptedPeriodDialog periods;
    ScriptedBpDialog bpDialog;
    NoPastRecords pastRecords;
    Window w{"Ann\r\n"};
    QTemporaryDir out;
    ReportMenu *reports = nullptr;
    AnalysisMenu *analysis = nullptr;
    HistoryMenu *history = nullptr;
    HomeBpMenu *home = nullptr;

    explicit HomeBp(const QByteArray &readings = weekFile())
    {
        if (!readings.isEmpty())
            w.writeUserFile(UserFile::BloodPressure, readings);
        reports = new ReportMenu(w.form->contextMenu(), w.form->diary(), [](qreal, const std::vector<ChartMark> &) {
            return QImage(20, 10, QImage::Format_RGB32);
        }, dialogs, printing, periods, w.messages);
        analysis = new AnalysisMenu(w.form->contextMenu(), w.form->diary(), periods, w.messages, *w.form);
        history = new HistoryMenu(*w.form, pastRecords, dialogs, w.messages);
        home = new HomeBpMenu(w.form->contextMenu(), w.form->diary(), [this] { recordBloodPressure(*w.form, bpDialog); },
                              dialogs, printing, w.messages, *w.form);
        w.startWithAnn(threeRecords());
    }

    QString target(const QString &name) const { return out.filePath(name); }
    QByteArray bp() const { return w.userFile(UserFile::BloodPressure); }
    HomeBpWindow *window() const { return home->reportWindow(); }
    template <typename T>
    T *control(const char *name) const
    {
        return window()->findChild<T *>(QString::fromLatin1(name));
    }
    QStringList row(int day) const
    {
        QStringList cells;
        for (int c = 0; c < window()->daysTable().columnCount(); ++c)
            cells << window()->daysTable().item(day, c)->text();
        return cells;
    }
};

// The text of a PDF without blanks and line breaks; null without pdftotext.
QString pdfWords(const QString &path)
{
    const QString text = pdfText(path);
    return text.isNull() ? text : QString(text).remove(u' ').remove(u'\n');
}

} // namespace

class GuiHomeBpTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installQtTranslation()); }

    // The dialog itself: whole numbers only, Enter offers the reading, a
    // stored one empties the boxes for the next and says what was stored, a
    // refused one stays as typed; every control has a name.
    void theDialogStaysOpenForTheSecondReading()
    {
        QtBpReadingDialog dialog;
        QDateTime now(QDate(2024, 11, 21), QTime(7, 30, 40));
        QList<Diary::TypedReading> offered;
        QStringList storedLines, afterStore;
        QDateTime latest;
        onNextModal<QDialog>([&](QDialog *form) {
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form, WindowWait));
            const auto box = [form](const char *name) { return form->findChild<QLineEdit *>(QString::fromLatin1(name)); };
            QTest::keyClicks(box("BpSystolic"), u"13a8"_s);
            QTest::keyClicks(box("BpDiastolic"), u"8.8"_s);
            QTest::keyClicks(box("BpPulse"), u"72"_s);
            Window::type(box("BpNote"), u"左臂"_s);
            QTest::keyClick(box("BpNote"), Qt::Key_Return); // refused: stays as typed
            QCOMPARE(box("BpSystolic")->text(), u"138"_s);
            QCOMPARE(box("BpDiastolic")->text(), u"88"_s);
            now = now.addSecs(60);
            QTest::keyClick(box("BpPulse"), Qt::Key_Enter); // stored
            QVERIFY(form->isVisible());
            for (const char *name : {"BpSystolic", "BpDiastolic", "BpPulse", "BpNote"})
                afterStore << box(name)->text();
            storedLines << form->findChild<QLabel *>(u"BpStored"_s)->text();
            QVERIFY(box("BpSystolic")->hasFocus());
            latest = form->findChild<QDateTimeEdit *>(u"BpTime"_s)->dateTime();
            QCOMPARE(form->findChild<QDateTimeEdit *>(u"BpTime"_s)->maximumDateTime(), latest);
            const QStringList nameless = namelessControls(form);
            QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(u' ')));
            QDialogButtonBox *buttons = form->findChild<QDialogButtonBox *>();
            QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), u"确定"_s);
            QCOMPARE(buttons->button(QDialogButtonBox::Close)->text(), u"关闭"_s);
            QTest::keyClick(box("BpSystolic"), Qt::Key_Escape);
            QVERIFY(!form->isVisible());
        });
        dialog.ask([&] { return now; }, [&](const Diary::TypedReading &typed) {
            offered << typed;
            return offered.size() == 2;
        });
        QCOMPARE(offered.size(), 2);
        QCOMPARE(offered[0].when, QDateTime(QDate(2024, 11, 21), QTime(7, 30))); // to the minute
        QCOMPARE(offered[1].systolic, u"138"_s);
        QCOMPARE(offered[1].pulse, u"72"_s);
        QCOMPARE(offered[1].note, u"左臂"_s);
        QCOMPARE(storedLines, QStringList{u"已存储 07:30 138/88 mmHg，脉搏 72"_s});
        QCOMPARE(afterStore, QStringList(4, QString()));
        QCOMPARE(latest, QDateTime(QDate(2024, 11, 21), QTime(7, 31))); // moved to now
        QCOMPARE(storedReadingText({QDateTime(QDate(2024, 11, 20), QTime(21, 5)), u"130"_s, u"80"_s, {}, {}},
                                   QDate(2024, 11, 21)),
                 u"已存储 11月20日 21:05 130/80 mmHg"_s);
    }

    // Through the window: readings stored for the current user, refusals
    // said by the diary, the last one taken back by undo.
    void readingsGoIntoTheFileAndUndoTakesThemBack()
    {
        HomeBp h(QByteArray{});
        const QDateTime at(h.w.now.date(), QTime(7, 30));
        h.bpDialog.readings = {{at, u"138"_s, u"88"_s, u"72"_s, {}},
                               {at, u"138"_s, u"250"_s, {}, {}},
                               {at.addSecs(60), u"136"_s, u"86"_s, {}, u"左臂"_s}};
        h.home->recordAction()->trigger();
        QCOMPARE(h.bpDialog.openedAt, h.w.now);
        QCOMPARE(h.bpDialog.stored, (QList<bool>{true, false, true}));
        QCOMPARE(h.w.messages.shown, QStringList{u"舒张压应在 30 到 200 之间，请核对！"_s});
        const QByteArray header = g(u"时间\t收缩压\t舒张压\t脉搏\t来源\t备注") + "\r\n";
        const QByteArray first = "20100301073000\t138\t88\t72\t" + g(u"手动") + "\t\r\n";
        QCOMPARE(h.bp(), header + first + "20100301073100\t136\t86\t\t" + g(u"手动\t左臂") + "\r\n");
        QCOMPARE(h.w.records(), threeRecords());
        h.history->undoAction()->trigger();
        QCOMPARE(h.w.messages.last(), messages::confirmUndo(u"Ann"_s, u"记录血压"_s));
        QCOMPARE(h.bp(), header + first);

        // No user chosen: no dialog.
        Window fresh("Ann\r\n");
        ScriptedBpDialog unused;
        fresh.start();
        recordBloodPressure(*fresh.form, unused);
        QCOMPARE(fresh.messages.shown, QStringList{messages::ChooseOrAddUser});
        QVERIFY(unused.openedAt.isNull());
    }

    void theReportWindowShowsTheLatestWeek()
    {
        HomeBp h;
        h.home->reportAction()->trigger();
        QVERIFY(h.window() && h.window()->isVisible());
        QVERIFY(h.w.messages.shown.isEmpty());
        QCOMPARE(h.window()->windowTitle(), u"家庭血压报告 - Ann"_s);
        QCOMPARE(h.control<QDateEdit>("HomeBpFirstDay")->date(), QDate(2010, 2, 22));
        QCOMPARE(h.row(0), (QStringList{u"02月22日 周一\n不计入平均"_s, u"07:00 140/90\n07:02 138/88"_s,
                                        u"21:00 130/80\n21:02 128/78"_s, QString()}));
        QCOMPARE(h.row(6), (QStringList{u"02月28日 周日"_s, u"07:00 140/90\n07:02 138/88"_s,
                                        u"21:00 130/80\n21:02 128/78\n次日 00:30 126/76"_s, u"14:30 120/75"_s}));
        QCOMPARE(h.window()->meansText(), u"早晨平均 139/89 mmHg（12 次）\n晚间平均 129/79 mmHg（13 次）\n"
                                          u"总平均 134/84 mmHg（25 次）\n脉搏 70 次/分（12 次）"_s);
        QCOMPARE(h.window()->verdictText(), u"低于家庭血压参考值 135/85 mmHg"_s);
        QCOMPARE(h.window()->findChild<QLabel *>(u"HomeBpAbout"_s)->text(), homeWeekAbout(h.window()->choice()));
        QCOMPARE(h.window()->medicinesText(), QString()); // Ann keeps no medicines
        QStringList nameless = namelessControls(h.window());
        nameless.removeAll(u"QLabel"_s); // the refusal and the shortfall, which say nothing here
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(u' ')));

        // No day left out.
        h.control<QComboBox>("HomeBpDaysLeftOut")->setCurrentIndex(0);
        QCOMPARE(h.window()->meansText().section(u'\n', 0, 0), u"早晨平均 139/89 mmHg（14 次）"_s);
        QCOMPARE(h.row(0)[0], u"02月22日 周一"_s);
        // Mornings from 07:01: the 07:00 readings are listed at other times, not averaged.
        h.control<QTimeEdit>("HomeBpMorningFrom")->setTime(QTime(7, 1));
        QCOMPARE(h.row(1), (QStringList{u"02月23日 周二"_s, u"07:02 138/88"_s, u"21:00 130/80\n21:02 128/78"_s,
                                        u"07:00 140/90"_s}));
        QCOMPARE(h.window()->sheet().titles[1], u"早晨 07:01–11:59"_s);
        QCOMPARE(h.window()->meansText().section(u'\n', 0, 0), u"早晨平均 138/88 mmHg（7 次）"_s);
        // Windows that share a minute are refused; the week stays as it was.
        const QString before = h.window()->meansText();
        h.control<QTimeEdit>("HomeBpMorningTo")->setTime(QTime(18, 0));
        QCOMPARE(h.window()->refusalText(), u"早晨和晚间的时段不能重叠，请修改！"_s);
        QCOMPARE(h.window()->meansText(), before);
        h.control<QTimeEdit>("HomeBpMorningTo")->setTime(QTime(11, 59));
        QVERIFY(h.window()->refusalText().isEmpty());
        // A week without readings.
        h.control<QDateEdit>("HomeBpFirstDay")->setDate(QDate(2010, 2, 1));
        QCOMPARE(h.window()->meansText(), u"早晨平均 —\n晚间平均 —\n总平均 —"_s);
        QCOMPARE(h.window()->verdictText(), QString());
        QCOMPARE(h.window()->sheet().shortfall, u"读数不足 12 次，平均值仅供参考"_s);

        // Opened again: the latest week, with the days and windows as chosen.
        h.home->reportAction()->trigger();
        QCOMPARE(h.window()->choice().first, QDate(2010, 2, 22));
        QCOMPARE(h.window()->choice().daysLeftOut, 0);
        QCOMPARE(h.window()->choice().windows.morning.from, QTime(7, 1));
        h.window()->close();
    }

    // 导出 PDF… and 打印… of the window: one A4 page with the week's table and means.
    void theReportWindowsPage()
    {
        HomeBp h;
        // The medicines taken during the week: one since before it, changed within it.
        h.w.writeUserFile(UserFile::Medicines, medicineFileHeader() + "\r\n20100101080000\t" + g(u"开始\t氨氯地平\t5 mg\t每日1次")
                                                   + "\t\r\n20100225080000\t" + g(u"调整\t氨氯地平\t10 mg\t每日1次")
                                                   + "\t\r\n20100301080000\t" + g(u"开始\t阿司匹林\t100 mg\t每日1次") + "\t\r\n");
        h.home->reportAction()->trigger();
        h.dialogs.paths = {h.target(u"home.pdf"_s)};
        h.control<QPushButton>("HomeBpPdf")->click();
        QCOMPARE(h.dialogs.suggestions, QStringList{u"Ann-家庭血压报告-20100301.pdf"_s});
        QVERIFY2(h.w.messages.shown.isEmpty(), qPrintable(h.w.messages.shown.join(u'\n')));
        QCOMPARE(pdfPageCount(readBytes(h.target(u"home.pdf"_s))), 1);
        QCOMPARE(h.window()->medicinesText(), u"监测周内用药：氨氯地平 10 mg 每日1次（2010年01月01日起）；期间：2010年02月25日 调整 氨氯地平 10 mg 每日1次"_s);
        h.printing.outputFile = h.target(u"printed.pdf"_s);
        h.control<QPushButton>("HomeBpPrint")->click();
        QCOMPARE(h.printing.pageCounts, QList<int>{1});
        QCOMPARE(pdfPageCount(readBytes(h.printing.outputFile)), 1);
        // Never over a data file.
        h.dialogs.paths = {h.w.folder.RecordFilePath(u"Ann"_s)};
        h.control<QPushButton>("HomeBpPdf")->click();
        QCOMPARE(h.w.messages.shown, QStringList{messages::NotOverDataFile});
        QCOMPARE(h.w.records(), threeRecords());

        const QString text = pdfWords(h.target(u"home.pdf"_s));
        if (text.isNull())
            QSKIP("pdftotext is not installed");
        for (const QString &expected :
             {u"家庭血压报告"_s, u"姓名：Ann"_s, u"监测周：2010年02月22日至2010年02月28日"_s, u"02月22日周一"_s,
              u"不计入平均"_s, u"07:00140/90"_s, u"次日00:30126/76"_s, u"14:30120/75"_s,
              u"早晨平均139/89mmHg（12次）"_s, u"晚间平均129/79mmHg（13次）"_s, u"总平均134/84mmHg（25次）"_s,
              u"脉搏70次/分（12次）"_s, u"低于家庭血压参考值135/85mmHg"_s, u"这只是读数的平均，不是诊断。"_s,
              QString(h.window()->medicinesText()).remove(u' ')})
            QVERIFY2(text.contains(expected), qPrintable(expected + u'\n' + text));
    }

    void withoutReadingsThereIsNothingToShow()
    {
        HomeBp h(QByteArray{});
        h.home->reportAction()->trigger();
        h.home->exportAction()->trigger();
        QCOMPARE(h.w.messages.shown, QStringList(2, messages::NoReadings));
        QVERIFY(!h.window());
        QVERIFY(h.dialogs.captions.isEmpty());
    }

    void theReadingsAsCsv()
    {
        HomeBp h;
        h.dialogs.paths = {h.target(u"bp.csv"_s), h.w.folder.RecordFilePath(u"Ann"_s)};
        h.home->exportAction()->trigger();
        QCOMPARE(h.dialogs.captions, QStringList{u"导出血压读数"_s});
        QCOMPARE(h.dialogs.suggestions, QStringList{u"Ann-血压读数-20100301.csv"_s});
        const QByteArray csv = readBytes(h.target(u"bp.csv"_s));
        QCOMPARE(csv, bpReadingsCsv(readBpFile(weekFile()).entries));
        QVERIFY(csv.startsWith("\xEF\xBB\xBF" + bpCsvTitles().join(u',').toUtf8() + "\r\n2010-02-22 07:00:00,140,90,70,"));
        h.home->exportAction()->trigger(); // over the record file: refused
        QCOMPARE(h.w.messages.shown, QStringList{messages::NotOverDataFile});
        QCOMPARE(h.w.records(), threeRecords());
    }

    // The home readings as their own series beside the check-ups' pressures,
    // in the factor window and in the PDF report, which gains their section.
    void theReadingsBesideTheCheckUps()
    {
        HomeBp h;
        h.analysis->factorTrendsAction()->trigger();
        const std::vector<TimeChart> &charts = h.analysis->factorWindow()->chartsView().charts();
        const TimeChart &systolic = charts[1];
        QCOMPARE(systolic.title, u"血压/高（mmHg）"_s);
        QCOMPARE(systolic.points.size(), size_t(3)); // the check-ups
        QStringList series;
        for (const ChartSeries &s : systolic.series)
            series << u"%1 %2"_s.arg(s.name).arg(s.values.size());
        QCOMPARE(series, (QStringList{u"家庭早晨 14"_s, u"家庭晚间 15"_s, u"家庭其他时间 1"_s}));
        QCOMPARE(systolic.series[2].values[0].value, 120.0);
        QVERIFY(systolic.hasLegend());
        QCOMPARE(systolic.guides.back().caption, u"家庭参考 135"_s);
        QCOMPARE(charts[2].guides.back().caption, u"家庭参考 85"_s);
        QCOMPARE(charts[2].series[1].values.back().value, 76.0);
        QVERIFY(!charts[3].hasLegend()); // the weight has no home readings
        QVERIFY(h.analysis->factorWindow()->summaryText().endsWith(u"\n家庭血压读数 30 次"_s));
        h.analysis->factorWindow()->close();

        h.dialogs.paths = {h.target(u"report.pdf"_s)};
        h.reports->reportPdfAction()->trigger();
        QCOMPARE(pdfPageCount(readBytes(h.target(u"report.pdf"_s))), 3);
        const QString text = pdfWords(h.target(u"report.pdf"_s));
        if (text.isNull())
            QSKIP("pdftotext is not installed");
        for (const QString &expected :
             {u"家庭血压"_s, u"时段内30次读数；最近一个监测周：2010年02月22日至2010年02月28日"_s,
              u"早晨平均139/89mmHg（12次）"_s, u"总平均134/84mmHg（25次）"_s, u"低于家庭血压参考值135/85mmHg"_s,
              u"家庭参考135"_s, u"家庭早晨"_s, u"体检"_s})
            QVERIFY2(text.contains(expected), qPrintable(expected + u'\n' + text));

        // A period without readings: no such section.
        h.periods.answer = Period{QDate(2009, 1, 1), QDate(2009, 12, 31)};
        h.dialogs.paths = {h.target(u"2009.pdf"_s)};
        h.reports->reportPdfAction()->trigger();
        QVERIFY(!pdfWords(h.target(u"2009.pdf"_s)).contains(u"家庭血压"_s));
    }

    // The program's menu: the home blood pressure entries after the history, then the
    // medicines' and the backups', with their shortcuts.
    void theMenuInItsOrder()
    {
        Surroundings s;
        QtMessageBoxes boxes;
        Program program(s.folder, boxes, [&s] { return s.now; });
        QStringList entries;
        for (QAction *action : program.window().contextMenu().menu()->actions())
            entries << (action->isSeparator() ? u"-"_s : action->text() + u' ' + action->shortcut().toString());
        const QStringList tail = entries.mid(entries.indexOf(u"导入记录表格… "_s) + 1);
        QCOMPARE(tail, (QStringList{u"-"_s, u"记录血压… Ctrl+B"_s, u"家庭血压报告… Ctrl+Shift+B"_s,
                                    u"导入血压读数… Ctrl+Shift+I"_s, u"导出血压读数… "_s, u"-"_s, u"用药记录… Ctrl+M"_s,
                                    u"导出用药记录… "_s, u"-"_s, u"备份日记… Ctrl+Shift+K"_s, u"恢复备份… "_s}));
    }
};

QTEST_MAIN(GuiHomeBpTest)
#include "tst_gui_home_bp.moc"
