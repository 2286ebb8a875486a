// Home blood pressure readings: the .bp file to the byte, and the guideline's
// seven-day average on hand-made weeks.

#include "readings/bp_csv.h"
#include "readings/bp_file.h"
#include "readings/home_week.h"
#include "readings/home_week_sheet.h"
#include "records/csv_table.h"
#include "test_support.h"

#include <QTest>

using namespace velmora;
using velmora::test::g;

namespace {

ClockStamp at(int year, int month, int day, int hour, int minute, int second = 0)
{
    return clockStampOf(QDate(year, month, day), QTime(hour, minute, second));
}

BpReading reading(ClockStamp stamp, int systolic, int diastolic, int pulse = 0)
{
    return {stamp, systolic, diastolic, pulse, ManualSource, QString()};
}

const QByteArray Header = g(u"时间\t收缩压\t舒张压\t脉搏\t来源\t备注") + "\r\n";

// Two readings a morning (07:00, 07:02) and an evening (21:00, 21:02) on
// every day of the week from `first`, each at the given values.
std::vector<BpReading> fullWeek(QDate first, int systolic, int diastolic)
{
    std::vector<BpReading> week;
    for (int d = 0; d < 7; ++d) {
        const QDate day = first.addDays(d);
        for (QTime time : {QTime(7, 0), QTime(7, 2), QTime(21, 0), QTime(21, 2)})
            week.push_back(reading(clockStampOf(day, time), systolic, diastolic));
    }
    return week;
}

} // namespace

class ReadingsTest : public QObject
{
    Q_OBJECT

private slots:
    void theFileIsWrittenToTheByte()
    {
        BpFile file;
        file.insert({reading(at(2024, 11, 21, 21, 5), 132, 84), reading(at(2024, 11, 21, 7, 30), 138, 88, 72)});
        file.entries[1].note = QStringLiteral("睡前，左臂");
        file.entries[1].source = QStringLiteral("欧姆龙 HEM-7136");
        QCOMPARE(*bpFileContent(file), Header + "20241121073000\t138\t88\t72\t" + g(u"手动") + "\t\r\n"
                                           + "20241121210500\t132\t84\t\t" + g(u"欧姆龙 HEM-7136\t睡前，左臂")
                                           + "\r\n");
        QCOMPARE(readBpFile(*bpFileContent(file)).entries, file.entries);
        QCOMPARE(*bpFileContent(BpFile{}), Header);
    }

    void linesItCannotReadAreKeptInTheirPlace_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("five fields") << QByteArray("20241121073000\t138\t88\t72\tx");
        QTest::newRow("seven fields") << QByteArray("20241121073000\t138\t88\t72\tx\ty\tz");
        QTest::newRow("no such day") << QByteArray("20240230073000\t138\t88\t\tx\t");
        QTest::newRow("hour 24") << QByteArray("20241121240000\t138\t88\t\tx\t");
        QTest::newRow("thirteen digits") << QByteArray("2024112107300\t138\t88\t\tx\t");
        QTest::newRow("leading zero") << QByteArray("20241121073000\t098\t68\t\tx\t");
        QTest::newRow("a decimal") << QByteArray("20241121073000\t138.5\t88\t\tx\t");
        QTest::newRow("pulse zero") << QByteArray("20241121073000\t138\t88\t0\tx\t");
        QTest::newRow("systolic 301") << QByteArray("20241121073000\t301\t88\t\tx\t");
        QTest::newRow("diastolic 29") << QByteArray("20241121073000\t138\t29\t\tx\t");
        QTest::newRow("diastolic = systolic") << QByteArray("20241121073000\t120\t120\t\tx\t");
        QTest::newRow("pulse 251") << QByteArray("20241121073000\t138\t88\t251\tx\t");
        QTest::newRow("not GBK") << QByteArray("20241121073000\t138\t88\t\t\xFF\xFF\t");
        QTest::newRow("a CR inside") << QByteArray("20241121073000\t138\t88\t\tx\ta\rb");
        QTest::newRow("another header") << QByteArray("time\tsys\tdia\tpulse\tsource\tnote\tdevice");
        QTest::newRow("cut off") << QByteArray("202411210");
    }

    void linesItCannotReadAreKeptInTheirPlace()
    {
        QFETCH(QByteArray, line);
        const QByteArray first = "20241120073000\t130\t80\t\tx\t\r\n";
        const QByteArray last = "20241122073000\t131\t81\t\tx\t\r\n";
        BpFile file = readBpFile(Header + first + line + "\n" + last);
        QCOMPARE(file.entries.size(), size_t(2));
        QCOMPARE(file.kept, (std::vector<KeptLine>{{1, line}}));
        // A reading in the same gap comes after the kept line; it stays before the later entry.
        file.insert({reading(at(2024, 11, 21, 8, 0), 140, 90)});
        file.insert({reading(at(2024, 11, 19, 8, 0), 141, 91)});
        QCOMPARE(*bpFileContent(file), Header + "20241119080000\t141\t91\t\t" + g(u"手动") + "\t\r\n" + first + line
                                           + "\r\n" + "20241121080000\t140\t90\t\t" + g(u"手动") + "\t\r\n" + last);
    }

    void theHeaderBlankLinesAndLineEndsAreTheFilesOwn()
    {
        // No header, LF line ends, blank lines: the readings are read; a rewrite writes the header and CR LF.
        const BpFile file = readBpFile("\n20241120073000\t130\t80\t\tx\t\n\r\n20241121073000\t131\t81\t66\tx\t");
        QCOMPARE(file.entries.size(), size_t(2));
        QVERIFY(file.kept.empty());
        QCOMPARE(*bpFileContent(file),
                 Header + "20241120073000\t130\t80\t\tx\t\r\n20241121073000\t131\t81\t66\tx\t\r\n");
    }

    void aReadingWithATextTheFileCannotHoldIsNotWritten()
    {
        BpFile file;
        file.insert({reading(at(2024, 11, 20, 7, 30), 130, 80)});
        file.entries[0].note = QStringLiteral("a\tb");
        QVERIFY(!bpFileContent(file));
        file.entries[0].note = QStringLiteral("😀");
        QVERIFY(!bpFileContent(file));
    }

    void insertingKeepsTimeOrderAndEqualTimesInTheirOrder()
    {
        BpFile file;
        file.insert({reading(at(2024, 1, 2, 7, 0), 130, 80), reading(at(2024, 1, 1, 7, 0), 131, 81)});
        file.insert({reading(at(2024, 1, 2, 7, 0), 132, 82), reading(at(2024, 1, 1, 7, 0), 133, 83)});
        QList<int> order;
        for (const BpReading &r : file.entries)
            order << r.systolic;
        QCOMPARE(order, (QList<int>{131, 133, 130, 132}));
    }

    void refusalsNameTheBox_data()
    {
        QTest::addColumn<int>("systolic");
        QTest::addColumn<int>("diastolic");
        QTest::addColumn<int>("pulse");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("lowest") << 60 << 30 << 20 << QString();
        QTest::newRow("highest") << 300 << 200 << 250 << QString();
        QTest::newRow("systolic 59") << 59 << 40 << 0 << QStringLiteral("收缩压应在 60 到 300 之间，请核对！");
        QTest::newRow("systolic 301") << 301 << 40 << 0 << QStringLiteral("收缩压应在 60 到 300 之间，请核对！");
        QTest::newRow("diastolic 29") << 120 << 29 << 0 << QStringLiteral("舒张压应在 30 到 200 之间，请核对！");
        QTest::newRow("diastolic 201") << 250 << 201 << 0 << QStringLiteral("舒张压应在 30 到 200 之间，请核对！");
        QTest::newRow("not below") << 120 << 120 << 0 << QStringLiteral("舒张压应低于收缩压，请核对！");
        QTest::newRow("pulse 19") << 120 << 80 << 19 << QStringLiteral("脉搏应在 20 到 250 之间，请核对！");
        QTest::newRow("pulse 251") << 120 << 80 << 251 << QStringLiteral("脉搏应在 20 到 250 之间，请核对！");
    }

    void refusalsNameTheBox()
    {
        QFETCH(int, systolic);
        QFETCH(int, diastolic);
        QFETCH(int, pulse);
        QFETCH(QString, refusal);
        QCOMPARE(bpReadingRefusal(reading(0, systolic, diastolic, pulse)).value_or(QString()), refusal);
    }

    // ---- The seven-day average

    void windowsAndTheirEdges_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<int>("session");
        QTest::addColumn<int>("dayShift"); // the day it counts for, from its date
        QTest::newRow("03:59") << QTime(3, 59) << int(Session::Other) << 0;
        QTest::newRow("04:00") << QTime(4, 0) << int(Session::Morning) << 0;
        QTest::newRow("11:59:59") << QTime(11, 59, 59) << int(Session::Morning) << 0;
        QTest::newRow("12:00") << QTime(12, 0) << int(Session::Other) << 0;
        QTest::newRow("17:59") << QTime(17, 59) << int(Session::Other) << 0;
        QTest::newRow("18:00") << QTime(18, 0) << int(Session::Evening) << 0;
        QTest::newRow("23:59") << QTime(23, 59) << int(Session::Evening) << 0;
        QTest::newRow("00:00") << QTime(0, 0) << int(Session::Evening) << -1;
        QTest::newRow("01:59") << QTime(1, 59) << int(Session::Evening) << -1;
        QTest::newRow("02:00") << QTime(2, 0) << int(Session::Other) << 0;
    }

    void windowsAndTheirEdges()
    {
        QFETCH(QTime, time);
        QFETCH(int, session);
        QFETCH(int, dayShift);
        const MonitoringWindows windows;
        QCOMPARE(int(sessionOf(time, windows)), session);
        const QDate date(2024, 3, 1);
        QCOMPARE(monitoringDay(clockStampOf(date, time), windows), date.addDays(dayShift));
    }

    void changedWindowsDecide()
    {
        MonitoringWindows windows;
        windows.morning = {QTime(5, 0), QTime(9, 0)};
        windows.evening = {QTime(19, 0), QTime(23, 30)};
        QCOMPARE(sessionOf(QTime(4, 30), windows), Session::Other);
        QCOMPARE(sessionOf(QTime(9, 1), windows), Session::Other);
        QCOMPARE(sessionOf(QTime(23, 30), windows), Session::Evening);
        // An evening that ends before midnight: a reading at 00:30 counts for its own date, as no session.
        QCOMPARE(monitoringDay(at(2024, 3, 2, 0, 30), windows), QDate(2024, 3, 2));
        QCOMPARE(sessionOf(QTime(0, 30), windows), Session::Other);
    }

    void windowsThatShareAMinuteAreRefused_data()
    {
        QTest::addColumn<QTime>("morningFrom");
        QTest::addColumn<QTime>("morningTo");
        QTest::addColumn<QTime>("eveningFrom");
        QTest::addColumn<QTime>("eveningTo");
        QTest::addColumn<bool>("refused");
        QTest::newRow("the guideline's") << QTime(4, 0) << QTime(11, 59) << QTime(18, 0) << QTime(1, 59) << false;
        QTest::newRow("a morning to 18:00") << QTime(4, 0) << QTime(18, 0) << QTime(18, 0) << QTime(1, 59) << true;
        QTest::newRow("an evening to 04:00") << QTime(4, 0) << QTime(11, 59) << QTime(18, 0) << QTime(4, 0) << true;
        QTest::newRow("side by side") << QTime(2, 0) << QTime(17, 59) << QTime(18, 0) << QTime(1, 59) << false;
        QTest::newRow("a morning over midnight") << QTime(23, 0) << QTime(5, 0) << QTime(18, 0) << QTime(22, 59) << false;
        QTest::newRow("... into the evening") << QTime(23, 0) << QTime(5, 0) << QTime(18, 0) << QTime(1, 0) << true;
        QTest::newRow("an evening inside the morning") << QTime(4, 0) << QTime(11, 59) << QTime(6, 0) << QTime(7, 0) << true;
    }

    void windowsThatShareAMinuteAreRefused()
    {
        QFETCH(QTime, morningFrom);
        QFETCH(QTime, morningTo);
        QFETCH(QTime, eveningFrom);
        QFETCH(QTime, eveningTo);
        QFETCH(bool, refused);
        const MonitoringWindows windows{{morningFrom, morningTo}, {eveningFrom, eveningTo}};
        QCOMPARE(windowsRefusal(windows).value_or(QString()),
                 refused ? QStringLiteral("早晨和晚间的时段不能重叠，请修改！") : QString());
    }

    void theFirstDayIsLeftOutAndTheRestAveraged()
    {
        const QDate first(2024, 11, 15);
        std::vector<BpReading> readings = fullWeek(first, 130, 80);
        // Day 1 much higher: left out. Outside the windows (13:00): listed only.
        for (BpReading &r : readings)
            if (stampDate(r.stamp) == first)
                r.systolic = 180;
        readings.push_back(reading(clockStampOf(first.addDays(3), QTime(13, 0)), 200, 120));
        const HomeWeek week = homeWeek(readings, {first, 1, {}});
        QCOMPARE(week.overall.count, 24);
        QCOMPARE(week.overall.systolic, 130);
        QCOMPARE(week.morning.count, 12);
        QCOMPARE(week.evening.count, 12);
        QVERIFY(!week.days[0].counted);
        QCOMPARE(week.days[0].readings.size(), size_t(4));
        QCOMPARE(week.days[3].readings.size(), size_t(5));
        QCOMPARE(week.days[3].readings[2].session, Session::Other);
        QCOMPARE(homeWeekShortfall(week), QString());
        // Every day counted; two days left out.
        QCOMPARE(homeWeek(readings, {first, 0, {}}).overall.count, 28);
        QCOMPARE(homeWeek(readings, {first, 0, {}}).overall.systolic, 137); // (4 x 180 + 24 x 130) / 28 = 137.1
        QCOMPARE(homeWeek(readings, {first, 2, {}}).overall.count, 20);
    }

    void theEveningAfterMidnightAndTheWeeksEdges()
    {
        const QDate first(2024, 11, 15);
        const std::vector<BpReading> readings{
            reading(at(2024, 11, 15, 1, 30), 150, 95), // the evening of the 14th: before the week
            reading(at(2024, 11, 16, 1, 30), 140, 90), // the evening of day 1 (the 15th): left out
            reading(at(2024, 11, 17, 0, 45), 136, 86), // the evening of day 2
            reading(at(2024, 11, 22, 1, 59), 134, 84), // the evening of day 7 (the 21st)
            reading(at(2024, 11, 22, 2, 0), 190, 110), // the 22nd, after the week
        };
        const HomeWeek week = homeWeek(readings, {first, 1, {}});
        QCOMPARE(week.days[0].readings.size(), size_t(1));
        QCOMPARE(week.days[1].readings.size(), size_t(1));
        QCOMPARE(week.days[6].readings.size(), size_t(1));
        QCOMPARE(week.evening.count, 2);
        QCOMPARE(week.overall.systolic, 135);
        QCOMPARE(week.overall.diastolic, 85);
        QCOMPARE(week.morning.count, 0);
        QCOMPARE(averageText(week.morning), QStringLiteral("—"));
        QCOMPARE(homeWeekShortfall(week), QStringLiteral("读数不足 12 次，平均值仅供参考"));
        // The default week ends with the latest day that has a reading: the 22nd (its 02:00 reading).
        QCOMPARE(defaultFirstDay(readings), QDate(2024, 11, 16));
        QCOMPARE(defaultFirstDay({}), QDate());
    }

    void aDayWithoutReadingsAndAWeekOverTheNewYear()
    {
        const QDate first(2024, 12, 28);
        std::vector<BpReading> readings = fullWeek(first, 128, 78);
        std::erase_if(readings, [](const BpReading &r) { return stampDate(r.stamp) == QDate(2025, 1, 1); });
        const HomeWeek week = homeWeek(readings, {first, 1, {}});
        QCOMPARE(week.days[4].date, QDate(2025, 1, 1));
        QVERIFY(week.days[4].readings.empty());
        QCOMPARE(week.days[6].date, QDate(2025, 1, 3));
        QCOMPARE(week.overall.count, 20);
        QCOMPARE(weekText(week.choice), QStringLiteral("2024年12月28日至2025年01月03日"));
    }

    void meansRoundHalfUpAndTheReferenceEdges_data()
    {
        QTest::addColumn<QList<int>>("systolic");
        QTest::addColumn<QList<int>>("diastolic");
        QTest::addColumn<int>("meanSystolic");
        QTest::addColumn<int>("meanDiastolic");
        QTest::addColumn<bool>("above");
        QTest::newRow("134.5 rounds to 135: above") << QList<int>{134, 135} << QList<int>{80, 80} << 135 << 80 << true;
        QTest::newRow("134.33: below") << QList<int>{134, 134, 135} << QList<int>{80, 80, 80} << 134 << 80 << false;
        QTest::newRow("84.5 rounds to 85: above") << QList<int>{120, 120} << QList<int>{84, 85} << 120 << 85 << true;
        QTest::newRow("84: below") << QList<int>{134, 134} << QList<int>{84, 84} << 134 << 84 << false;
        QTest::newRow("135 alone") << QList<int>{135} << QList<int>{70} << 135 << 70 << true;
        QTest::newRow("85 alone") << QList<int>{110} << QList<int>{85} << 110 << 85 << true;
    }

    void meansRoundHalfUpAndTheReferenceEdges()
    {
        QFETCH(QList<int>, systolic);
        QFETCH(QList<int>, diastolic);
        QFETCH(int, meanSystolic);
        QFETCH(int, meanDiastolic);
        QFETCH(bool, above);
        std::vector<BpReading> readings;
        for (int i = 0; i < systolic.size(); ++i)
            readings.push_back(reading(at(2024, 5, 2, 7, i), systolic[i], diastolic[i], 60 + i));
        const HomeWeek week = homeWeek(readings, {QDate(2024, 5, 1), 1, {}});
        QCOMPARE(week.overall.systolic, meanSystolic);
        QCOMPARE(week.overall.diastolic, meanDiastolic);
        QCOMPARE(week.isAbove(), above);
        QCOMPARE(homeWeekVerdict(week), above ? QStringLiteral("高于家庭血压参考值 135/85 mmHg")
                                              : QStringLiteral("低于家庭血压参考值 135/85 mmHg"));
    }

    void pulseIsAveragedWhereGiven()
    {
        const std::vector<BpReading> readings{reading(at(2024, 5, 2, 7, 0), 130, 80, 70),
                                              reading(at(2024, 5, 2, 7, 2), 130, 80, 71),
                                              reading(at(2024, 5, 2, 7, 4), 130, 80)};
        const HomeWeek week = homeWeek(readings, {QDate(2024, 5, 1), 1, {}});
        QCOMPARE(pulseAverageText(week.overall), QStringLiteral("脉搏 71 次/分（2 次）")); // 70.5 rounds up
        QCOMPARE(averageText(week.overall), QStringLiteral("130/80 mmHg（3 次）"));
        QCOMPARE(homeWeekVerdict(homeWeek({}, {QDate(2024, 5, 1), 1, {}})), QString());
    }

    // The week as the window and the page show it.
    void theWeekAsTexts()
    {
        std::vector<BpReading> readings = fullWeek(QDate(2024, 12, 28), 131, 82);
        readings.push_back(reading(at(2025, 1, 4, 0, 40), 126, 79)); // the last evening, after midnight
        readings.push_back(reading(at(2024, 12, 29, 15, 0), 150, 95, 80));
        const HomeWeekSheet sheet = homeWeekSheet(homeWeek(readings, {QDate(2024, 12, 28), 1, {}}));
        QCOMPARE(sheet.week, QStringLiteral("2024年12月28日至2025年01月03日"));
        QCOMPARE(QStringList(sheet.titles.begin(), sheet.titles.end()),
                 (QStringList{"日期", "早晨 04:00–11:59", "晚间 18:00–01:59", "其他时间"}));
        QCOMPARE(sheet.days[0].date, QStringLiteral("12月28日 周六"));
        QVERIFY(!sheet.days[0].counted && sheet.days[1].counted);
        QCOMPARE(sheet.days[1].readings[0], (QStringList{"07:00 131/82", "07:02 131/82"}));
        QCOMPARE(sheet.days[1].readings[2], QStringList{"15:00 150/95"});
        QCOMPARE(sheet.days[6].date, QStringLiteral("01月03日 周五"));
        QCOMPARE(sheet.days[6].readings[1], (QStringList{"21:00 131/82", "21:02 131/82", "次日 00:40 126/79"}));
        QCOMPARE(sheet.means, (QStringList{"早晨平均 131/82 mmHg（12 次）", "晚间平均 131/82 mmHg（13 次）",
                                           "总平均 131/82 mmHg（25 次）"})); // no pulse counted: no line
        QCOMPARE(sheet.verdict, QStringLiteral("低于家庭血压参考值 135/85 mmHg"));
        QVERIFY(!sheet.above && sheet.shortfall.isEmpty());
    }

    void readingsWithinDays()
    {
        const std::vector<BpReading> readings{reading(at(2024, 2, 29, 23, 59, 59), 130, 80),
                                              reading(at(2024, 3, 1, 0, 0), 131, 80),
                                              reading(at(2024, 3, 31, 23, 59, 59), 132, 80),
                                              reading(at(2024, 4, 1, 0, 0), 133, 80)};
        const auto systolics = [](const std::vector<BpReading> &within) {
            QList<int> values;
            for (const BpReading &r : within)
                values << r.systolic;
            return values;
        };
        QCOMPARE(systolics(readingsWithin(readings, QDate(2024, 3, 1), QDate(2024, 3, 31))), (QList<int>{131, 132}));
        QCOMPARE(systolics(readingsWithin(readings, {}, QDate(2024, 3, 1))), (QList<int>{130, 131}));
        QCOMPARE(systolics(readingsWithin(readings, QDate(2024, 3, 31), {})), (QList<int>{132, 133}));
        QCOMPARE(readingsWithin(readings, {}, {}).size(), size_t(4));
    }

    void theTableForSpreadsheets()
    {
        std::vector<BpReading> readings{reading(at(2024, 11, 21, 7, 30, 15), 138, 88, 72),
                                        reading(at(2024, 11, 21, 21, 5), 132, 84)};
        readings[1].note = QStringLiteral("=1+1, \"x\"");
        readings[1].source = QStringLiteral("@monitor");
        QCOMPARE(bpReadingsCsv(readings), QByteArray("\xEF\xBB\xBF") + "时间,收缩压(mmHg),舒张压(mmHg),脉搏(次/分),来源,备注\r\n"
                                                                         "2024-11-21 07:30:15,138,88,72,手动,\r\n"
                                                                         "2024-11-21 21:05:00,132,84,,'@monitor,\"'=1+1, \"\"x\"\"\"\r\n");
    }
};

QTEST_GUILESS_MAIN(ReadingsTest)
#include "tst_readings.moc"
