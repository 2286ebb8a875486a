// The medicine diary's core: the .med file to the byte, what is taken when
// after events in any order, the blood pressure before and after a change at
// the edges of its windows, the table for spreadsheets, and the lanes of the
// charts' labels as plain geometry.

#include "diary_support.h"
#include "medicines/chart_marks.h"
#include "medicines/common_names.h"
#include "medicines/label_lanes.h"
#include "medicines/medicine_csv.h"
#include "medicines/medicine_effect.h"
#include "medicines/medicine_file.h"
#include "medicines/medicine_plan.h"
#include "medicines/medicine_report.h"

#include <QRandomGenerator>
#include <QTest>

using namespace velmora;
using velmora::test::g;

namespace {

ClockStamp at(int year, int month, int day, int hour = 8, int minute = 0)
{
    return clockStampOf(QDate(year, month, day), QTime(hour, minute));
}

MedicineEvent medicineEvent(ClockStamp stamp, MedicineAction action, const QString &name, const QString &dose = QString(),
                    const QString &frequency = QString())
{
    return {stamp, action, name, dose, frequency, QString()};
}

const QByteArray Header = g(u"时间\t事件\t药名\t剂量\t用法\t备注") + "\r\n";

// "开始 A 5 mg" style lines of a test's script: one event a day from 2024-01-01, in the order given.
std::vector<MedicineEvent> script(const QStringList &lines)
{
    std::vector<MedicineEvent> events;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList parts = lines[i].split(u'|');
        const QDate day = QDate(2024, 1, 1).addDays(parts.value(3, QString::number(i)).toInt());
        events.push_back(medicineEvent(clockStampOf(day, QTime(8, 0)), *actionOfWord(parts[0]), parts[1], parts.value(2)));
    }
    return events;
}

QStringList planTexts(const std::vector<PlanEntry> &plan)
{
    QStringList texts;
    for (const PlanEntry &entry : plan)
        texts << planEntryText(entry);
    return texts;
}

BpReading reading(const QDate &day, int systolic, int diastolic, QTime time = QTime(7, 0))
{
    return {clockStampOf(day, time), systolic, diastolic, 0, ManualSource, QString()};
}

} // namespace

class MedicinesTest : public QObject
{
    Q_OBJECT

private slots:
    void theFileIsWrittenToTheByte()
    {
        MedicineFile file;
        file.insert({medicineEvent(at(2024, 3, 5), MedicineAction::Adjust, u"氨氯地平"_qs, u"10 mg"_qs, u"每日1次"_qs),
                     medicineEvent(at(2024, 3, 1), MedicineAction::Start, u"氨氯地平"_qs, u"5 mg"_qs, u"每日1次"_qs)});
        file.insert({medicineEvent(at(2024, 3, 2, 21, 30), MedicineAction::Single, u"阿司匹林"_qs, u"半片"_qs)});
        file.entries[0].note = u"早饭后"_qs;
        QCOMPARE(*medicineFileContent(file), Header + g(u"20240301080000\t开始\t氨氯地平\t5 mg\t每日1次\t早饭后\r\n"
                                                        u"20240302213000\t单次\t阿司匹林\t半片\t\t\r\n"
                                                        u"20240305080000\t调整\t氨氯地平\t10 mg\t每日1次\t\r\n"));
        QCOMPARE(readMedicineFile(*medicineFileContent(file)).entries, file.entries);
        QCOMPARE(*medicineFileContent(MedicineFile{}), Header);
        // No header, LF, blank lines: read; a rewrite writes the header and CR LF.
        const MedicineFile bare = readMedicineFile(g(u"\n20240301080000\t停用\tA\t\t\t\n"));
        QCOMPARE(bare.entries.size(), size_t(1));
        QCOMPARE(*medicineFileContent(bare), Header + g(u"20240301080000\t停用\tA\t\t\t\r\n"));
    }

    void linesItCannotReadAreKeptInTheirPlace_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("five fields") << g(u"20240302080000\t开始\tA\t5 mg\tx");
        QTest::newRow("seven fields") << g(u"20240302080000\t开始\tA\t5 mg\tx\ty\tz");
        QTest::newRow("another word") << g(u"20240302080000\t开药\tA\t\t\t");
        QTest::newRow("no name") << g(u"20240302080000\t开始\t\t5 mg\t\t");
        QTest::newRow("a blank name") << g(u"20240302080000\t开始\t \t5 mg\t\t");
        QTest::newRow("no such day") << g(u"20240230080000\t开始\tA\t\t\t");
        QTest::newRow("thirteen digits") << g(u"2024030208000\t开始\tA\t\t\t");
        QTest::newRow("not GBK") << QByteArray("20240302080000\t") + g(u"开始") + "\t\xFF\xFF\t\t\t";
        QTest::newRow("a CR inside") << g(u"20240302080000\t开始\tA\t\t\ta\rb");
        QTest::newRow("cut off") << QByteArray("2024030");
    }

    void linesItCannotReadAreKeptInTheirPlace()
    {
        QFETCH(QByteArray, line);
        const QByteArray first = g(u"20240301080000\t开始\tA\t5 mg\t\t\r\n");
        const QByteArray last = g(u"20240303080000\t停用\tA\t\t\t\r\n");
        MedicineFile file = readMedicineFile(Header + first + line + "\n" + last);
        QCOMPARE(file.entries.size(), size_t(2));
        QCOMPARE(file.kept, (std::vector<KeptLine>{{1, line}}));
        file.insert({medicineEvent(at(2024, 3, 2, 9), MedicineAction::Single, u"B"_qs)});
        QCOMPARE(*medicineFileContent(file),
                 Header + first + line + "\r\n" + g(u"20240302090000\t单次\tB\t\t\t\r\n") + last);
    }

    void refusalsNameTheBox_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("dose");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("good") << "氨氯地平" << "5 mg" << "" << "";
        QTest::newRow("no name") << "" << "5 mg" << "" << "请输入药名！";
        QTest::newRow("a blank name") << " \u3000" << "" << "" << "请输入药名！";
        QTest::newRow("a tab in the name") << "a\tb" << "" << "" << "药名不能含有制表符或换行，请修改！";
        QTest::newRow("a line break in the dose") << "A" << "5\nmg" << "" << "剂量不能含有制表符或换行，请修改！";
        QTest::newRow("not GBK in the note") << "A" << "" << "😀" << "备注含有不能保存的字符，请修改！";
    }

    void refusalsNameTheBox()
    {
        QFETCH(QString, name);
        QFETCH(QString, dose);
        QFETCH(QString, note);
        QFETCH(QString, refusal);
        MedicineEvent e = medicineEvent(at(2024, 3, 1), MedicineAction::Start, name, dose);
        e.note = note;
        QCOMPARE(medicineEventRefusal(e).value_or(QString()), refusal);
        QCOMPARE(medicineFileContent(MedicineFile{{e}, {}}).has_value(), refusal.isEmpty());
    }

    void namesAreTheSameWhateverTheirCaseOrBlanks_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("letter case") << "Aspirin" << "aspirin" << true;
        QTest::newRow("blanks around") << " Aspirin " << "Aspirin" << true;
        QTest::newRow("blanks inside") << "阿司 匹林" << "阿司匹林" << true;
        QTest::newRow("a full-width blank") << "阿司匹林\u3000" << "阿司匹林" << true;
        QTest::newRow("full-width letters") << "ＡＳＰＩＲＩＮ" << "aspirin" << true;
        QTest::newRow("another medicine") << "氨氯地平" << "左旋氨氯地平" << false;
    }

    void namesAreTheSameWhateverTheirCaseOrBlanks()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(sameMedicine(a, b), same);
    }

    // Each line: word|name|dose[|day]; without a day, line i happens on day i.
    void thePlanAfterEventsInAnyOrder_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("plan");
        QTest::newRow("a start") << QStringList{"开始|A|5 mg"} << QStringList{"A 5 mg（2024年01月01日起）"};
        QTest::newRow("a start, then a new dose")
            << QStringList{"开始|A|5 mg", "调整|A|10 mg"} << QStringList{"A 10 mg（2024年01月01日起）"};
        QTest::newRow("a start, then a stop") << QStringList{"开始|A|5 mg", "停用|A"} << QStringList{};
        QTest::newRow("stopped, then started again")
            << QStringList{"开始|A|5 mg", "停用|A", "开始|A|2.5 mg"} << QStringList{"A 2.5 mg（2024年01月03日起）"};
        QTest::newRow("a new dose without a start (a hand-written file)")
            << QStringList{"调整|A|10 mg"} << QStringList{"A 10 mg（2024年01月01日起）"};
        QTest::newRow("a stop of nothing") << QStringList{"停用|A"} << QStringList{};
        QTest::newRow("a stop, then a new dose") << QStringList{"开始|A|5 mg", "停用|A", "调整|A|10 mg"}
                                                 << QStringList{"A 10 mg（2024年01月03日起）"};
        QTest::newRow("the file out of time order")
            << QStringList{"开始|A|5 mg|9", "停用|A||5", "开始|A|1 mg|1"} << QStringList{"A 5 mg（2024年01月10日起）"};
        QTest::newRow("a stop and a start at one time: file order")
            << QStringList{"开始|A|5 mg|1", "停用|A||1"} << QStringList{};
        QTest::newRow("two medicines, one stopped")
            << QStringList{"开始|A|5 mg", "开始|B|20 mg", "停用|A"} << QStringList{"B 20 mg（2024年01月02日起）"};
        QTest::newRow("two medicines in the order they began")
            << QStringList{"开始|B|20 mg", "开始|A|5 mg", "调整|B|40 mg"}
            << QStringList{"B 40 mg（2024年01月01日起）", "A 5 mg（2024年01月02日起）"};
        QTest::newRow("a new dose in another spelling")
            << QStringList{"开始|Aspirin|100 mg", "调整|ASPIRIN|50 mg"} << QStringList{"ASPIRIN 50 mg（2024年01月01日起）"};
        QTest::newRow("stopped in another spelling") << QStringList{"开始|Aspirin|100 mg", "停用| aspirin "} << QStringList{};
        QTest::newRow("single intakes change nothing")
            << QStringList{"单次|A|1 片", "开始|B|5 mg", "单次|B|1 片"} << QStringList{"B 5 mg（2024年01月02日起）"};
    }

    void thePlanAfterEventsInAnyOrder()
    {
        QFETCH(QStringList, events);
        QFETCH(QStringList, plan);
        QCOMPARE(planTexts(planAt(script(events))), plan);
    }

    void thePlanAtATime()
    {
        const auto events = script({"开始|A|5 mg", "调整|A|10 mg", "停用|A"});
        QCOMPARE(planTexts(planAt(events, at(2023, 12, 31))), QStringList{});
        QCOMPARE(planTexts(planAt(events, at(2024, 1, 1))), QStringList{u"A 5 mg（2024年01月01日起）"_qs}); // at that very time
        QCOMPARE(planTexts(planAt(events, at(2024, 1, 2, 7, 59))), QStringList{u"A 5 mg（2024年01月01日起）"_qs});
        QCOMPARE(planTexts(planAt(events, at(2024, 1, 2, 12))), QStringList{u"A 10 mg（2024年01月01日起）"_qs});
        QCOMPARE(takenAt(events, u" a"_qs, at(2024, 1, 3, 7, 59))->last.dose, u"10 mg"_qs);
        QVERIFY(!takenAt(events, u"a"_qs, at(2024, 1, 3))); // stopped at 08:00 that day
    }

    void thePlanDuringAWeek()
    {
        auto events = script({"开始|A|5 mg", "开始|B|20 mg|3", "调整|A|10 mg|5", "停用|B||6"});
        events[0].frequency = u"每日1次"_qs;
        QCOMPARE(planDuringText(events, QDate(2024, 1, 4), QDate(2024, 1, 10)),
                 u"A 10 mg（2024年01月01日起）；期间：2024年01月04日 开始 B 20 mg；2024年01月06日 调整 A 10 mg；"
                 u"2024年01月07日 停用 B"_qs);
        QCOMPARE(planDuringText(events, QDate(2024, 1, 1), QDate(2024, 1, 2)),
                 u"A 5 mg 每日1次（2024年01月01日起）；期间：2024年01月01日 开始 A 5 mg 每日1次"_qs);
        QCOMPARE(planDuringText(events, QDate(2023, 1, 1), QDate(2023, 1, 7)), u"未记录用药"_qs);
    }

    // ---- Before and after a change

    void theWindowsAndTheirEdges_data()
    {
        QTest::addColumn<int>("day"); // of the reading, from the day of the change
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("day -15") << -15 << 0 << 0;
        QTest::newRow("day -14") << -14 << 1 << 0;
        QTest::newRow("day -1") << -1 << 1 << 0;
        QTest::newRow("day 0, before the change's hour") << 0 << 0 << 0;
        QTest::newRow("day 1") << 1 << 0 << 0;
        QTest::newRow("day 14") << 14 << 0 << 0;
        QTest::newRow("day 15") << 15 << 0 << 1;
        QTest::newRow("day 28") << 28 << 0 << 1;
        QTest::newRow("day 29") << 29 << 0 << 0;
    }

    void theWindowsAndTheirEdges()
    {
        QFETCH(int, day);
        QFETCH(int, before);
        QFETCH(int, after);
        const QDate change(2024, 3, 1); // a leap year: day 0 is 29 days after February 1st
        const std::vector<BpReading> readings{reading(change.addDays(day), 140, 90, QTime(6, 0))};
        const ChangeEffect e = changeEffect(readings, change);
        QCOMPARE(e.before.count, before);
        QCOMPARE(e.after.count, after);
        QCOMPARE(daysBefore(change).first, QDate(2024, 2, 16));
        QCOMPARE(daysAfter(change).last, QDate(2024, 3, 29));
    }

    void theMeansAndWhatTheySay()
    {
        const QDate change(2024, 3, 1);
        std::vector<BpReading> readings;
        // 12 before: 148/92 on average (half of them 147/91, half 149/93); 14 after: 136/84 (half-up from 135.5/83.5).
        for (int i = 0; i < 12; ++i)
            readings.push_back(reading(change.addDays(-1 - i % 14), 147 + 2 * (i % 2), 91 + 2 * (i % 2)));
        for (int i = 0; i < 14; ++i)
            readings.push_back(reading(change.addDays(15 + i), 135 + i % 2, 83 + i % 2));
        QCOMPARE(effectText(changeEffect(readings, change)), u"之前平均 148/92（12 次），之后平均 136/84（14 次）"_qs);
        // Five after: too few for a mean; none after (a change of yesterday).
        readings.resize(12 + 5);
        QCOMPARE(effectText(changeEffect(readings, change)),
                 u"之前平均 148/92（12 次），之后仅 5 次读数（不足 6 次），不计平均值"_qs);
        readings.resize(12);
        QCOMPARE(effectText(changeEffect(readings, change)), u"之前平均 148/92（12 次），之后没有读数"_qs);
        readings.resize(6);
        QCOMPARE(effectText(changeEffect(readings, change)), u"之前平均 148/92（6 次），之后没有读数"_qs);
    }

    void checkUpsCountAsReadings()
    {
        RecordTable table;
        const int count = readRecords(velmora::test::threeRecords() + velmora::test::womanEntries(1).replace(" 120 ", " x "), table);
        const std::vector<double> scores(size_t(count), 0.0);
        const std::vector<BpReading> checkUps = checkUpReadings(recordHistory(table, count, scores));
        QCOMPARE(checkUps.size(), size_t(3)); // the woman of 2010 has a text for her systolic
        QCOMPARE(bpText(checkUps[0].systolic, checkUps[0].diastolic), u"150/95"_qs);
        QCOMPARE(checkUps[0].source, u"体检"_qs);
        const std::vector<BpReading> home{reading(QDate(2009, 7, 1), 130, 80)};
        const auto all = allReadings(home, checkUps);
        QCOMPARE(all.size(), size_t(4));
        QCOMPARE(all[1].systolic, 130);
    }

    void changesWithinDaysWithTheirEffects()
    {
        const auto events = script({"开始|A|5 mg", "单次|B|1 片", "调整|A|10 mg|20", "停用|A||40"});
        const auto changes = changesWithEffects(events, {}, QDate(2024, 1, 2), QDate());
        QCOMPARE(changes.size(), size_t(2));
        QCOMPARE(changeLine(changes[0]), u"2024年01月21日 调整 A 10 mg：之前没有读数，之后没有读数"_qs);
    }

    void aReportsSection()
    {
        const auto events = script({"开始|A|5 mg", "开始|B|20 mg|3", "调整|A|10 mg|20", "停用|B||40"});
        std::vector<BpReading> readings;
        for (int d = 1; d <= 14; ++d)
            readings.push_back(reading(QDate(2024, 1, 21).addDays(-d), 150, 95));
        MedicineSection section = medicineSection(events, readings, QDate(2024, 1, 10), QDate(2024, 1, 31));
        QCOMPARE(section.planTitle, u"2024年01月31日时在服用的药物"_qs);
        QCOMPARE(section.plan, (QStringList{u"A 10 mg（2024年01月01日起）"_qs, u"B 20 mg（2024年01月04日起）"_qs}));
        QCOMPARE(section.changes, QStringList{u"1. 2024年01月21日 调整 A 10 mg：之前平均 150/95（14 次），之后没有读数"_qs});
        section = medicineSection(events, readings, QDate(), QDate(2023, 12, 31));
        QVERIFY(section.isEmpty());
        section = medicineSection(events, {}, QDate(), QDate());
        QCOMPARE(section.planTitle, u"目前在服用的药物"_qs);
        QCOMPARE(section.plan, QStringList{u"A 10 mg（2024年01月01日起）"_qs});
        QCOMPARE(section.changes.size(), 4);
        QVERIFY(section.changes[3].startsWith(u"4. 2024年02月10日 停用 B"_qs));
    }

    void theTableForSpreadsheets()
    {
        auto events = script({"开始|氨氯地平|5 mg", "单次|=cmd|-1"});
        events[1].note = u"@x, \"y\""_qs;
        QCOMPARE(medicinesCsv(events), QByteArray("\xEF\xBB\xBF") + "时间,事件,药名,剂量,用法,备注\r\n"
                                                                    "2024-01-01 08:00:00,开始,氨氯地平,5 mg,,\r\n"
                                                                    "2024-01-02 08:00:00,单次,'=cmd,'-1,,\"'@x, \"\"y\"\"\"\r\n");
    }

    void theNameListHoldsNamesGbkCanKeep()
    {
        const QStringList names = commonMedicineNames();
        QVERIFY(names.size() >= 40);
        QVERIFY(names.contains(u"氨氯地平"_qs) && names.contains(u"阿托伐他汀"_qs) && names.contains(u"二甲双胍"_qs)
                && names.contains(u"氯吡格雷"_qs));
        for (const QString &name : names)
            QVERIFY2(encodeGbk(name) && names.count(name) == 1, qPrintable(name));
    }

    // ---- The charts' marks and the lanes of their labels

    void marksAndTheirLabels()
    {
        const auto events = script({"开始|A|5 mg", "开始|B|20 mg", "调整|a|10 mg", "单次|C|1 片", "停用|B"});
        const auto marks = medicineMarks(events, QDate(2024, 1, 2), QDate(2024, 1, 4));
        QStringList labels;
        QList<int> medicines, changes;
        for (const MedicineMark &m : marks) {
            labels << m.label;
            medicines << m.medicine;
            changes << m.change;
        }
        QCOMPARE(labels, (QStringList{u"B 20 mg"_qs, u"a → 10 mg"_qs, QString()}));
        QCOMPARE(medicines, (QList<int>{1, 0, 2})); // by their first event in the diary
        QCOMPARE(changes, (QList<int>{1, 2, 0}));
        QCOMPARE(chartLabel(events[4]), u"B 停用"_qs);
    }

    void labelsApartStayInTheFirstLane()
    {
        const std::vector<LabelSpan> labels{{10, 20}, {40, 20}, {70, 20}};
        const LabelLanes lanes = layOutLabels(labels, 0, 100, 2, 4);
        QCOMPARE(lanes.lanes, 1);
        QCOMPARE(lanes.labels, (std::vector<PlacedLabel>{{10, 0}, {40, 0}, {70, 0}}));
    }

    void crowdedLabelsClimbAndStayClearOfLinesAndTheLegend()
    {
        // The second climbs over the third; the first fits before the third.
        std::vector<LabelSpan> labels{{10, 20}, {32, 20}, {40, 20}};
        LabelLanes lanes = layOutLabels(labels, 0, 100, 2, 4);
        QCOMPARE(lanes.labels, (std::vector<PlacedLabel>{{10, 0}, {32, 1}, {40, 0}}));
        // A crowd of lines: a staircase rising to the left.
        labels = {{10, 20}, {15, 20}, {20, 20}, {25, 20}};
        QCOMPARE(layOutLabels(labels, 0, 100, 2, 4).labels,
                 (std::vector<PlacedLabel>{{10, 3}, {15, 2}, {20, 1}, {25, 0}}));
        // Near the right edge a label ends there; a legend in lane 0 sends a label up.
        labels = {{95, 20}};
        QCOMPARE(layOutLabels(labels, 0, 100, 2, 4).labels[0], (PlacedLabel{80, 0}));
        const std::vector<BlockedSpan> legend{{0, 60, 100}};
        labels = {{70, 20}};
        QCOMPARE(layOutLabels(labels, 0, 100, 2, 4, legend).labels[0], (PlacedLabel{70, 1}));
        // Out of lanes: the label is left out, its line stays.
        labels = {{0, 50}, {5, 50}, {10, 50}};
        lanes = layOutLabels(labels, 0, 100, 2, 2);
        QCOMPARE(lanes.lanes, 2);
        QCOMPARE(std::count_if(lanes.labels.begin(), lanes.labels.end(), [](const PlacedLabel &p) { return !p.shown(); }), 1);
    }

    // Any labels: shown ones never overlap each other, a legend, the plot's
    // edges or a line rising through their lane.
    void noLabelEverCoversAnotherOrALine()
    {
        QRandomGenerator random(28);
        const std::vector<BlockedSpan> legend{{0, 70, 100}};
        for (int round = 0; round < 500; ++round) {
            std::vector<LabelSpan> labels(size_t(random.bounded(1, 25)));
            for (LabelSpan &l : labels)
                l = {random.bounded(100.0), 5 + random.bounded(30.0)};
            const double gap = 1;
            const LabelLanes lanes = layOutLabels(labels, 0, 100, gap, 5, legend);
            for (size_t i = 0; i < labels.size(); ++i) {
                const PlacedLabel &p = lanes.labels[i];
                if (!p.shown())
                    continue;
                const double from = p.left, to = p.left + labels[i].width;
                QVERIFY(from >= 0 && to <= 100 + 1e-9 && p.lane < lanes.lanes);
                QVERIFY(p.lane > 0 || to + gap <= 70 + 1e-9);
                QVERIFY(from <= labels[i].anchor + 1e-9 && to >= labels[i].anchor - 1e-9); // at its line
                for (size_t j = 0; j < labels.size(); ++j) {
                    const PlacedLabel &q = lanes.labels[j];
                    if (j == i || !q.shown())
                        continue;
                    if (q.lane == p.lane)
                        QVERIFY(q.left >= to + gap - 1e-9 || q.left + labels[j].width <= from - gap + 1e-9);
                    if (q.lane > p.lane) // its line rises through this lane
                        QVERIFY(labels[j].anchor >= to + gap - 1e-9 || labels[j].anchor <= from - gap + 1e-9);
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(MedicinesTest)
#include "tst_medicines.moc"
