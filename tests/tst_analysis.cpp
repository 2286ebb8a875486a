// Factors over time, periods and their figures, risk bands, values above thresholds.

#include "analysis/statistics.h"
#include "model/score_breakdown.h"
#include "records/record_id.h"
#include "records/time_order.h"

#include <QTest>

using namespace velmora;

namespace {

using Values = std::vector<std::pair<Field, double>>;

HealthRecord record(const QString &id, const Values &numbers = {}, const QString &sex = QStringLiteral("男"))
{
    HealthRecord r;
    r[RecordIdField] = Item::fromText(id);
    r[SexField] = Item::fromText(sex);
    for (const auto &[field, value] : numbers)
        r[field] = Item::fromNumber(value);
    return r;
}

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s));
}

std::vector<int> positions(const RecordHistory &history)
{
    std::vector<int> p;
    for (const DatedRecord &r : history.records)
        p.push_back(r.position);
    return p;
}

} // namespace

class AnalysisTest : public QObject
{
    Q_OBJECT

private slots:
    void values_data()
    {
        QTest::addColumn<HealthRecord>("record");
        QTest::addColumn<Factor>("factor");
        QTest::addColumn<double>("value"); // NaN: a gap
        QTest::addColumn<double>("threshold"); // NaN: none
        const double none = qQNaN();
        const QString id = QStringLiteral("20240101080000");
        QTest::newRow("BMI 70 kg at 175 cm") << record(id, {{WeightField, 70}, {HeightField, 175}}) << Factor::Bmi
                                             << 22.857142857142858 << none;
        QTest::newRow("BMI without height") << record(id, {{WeightField, 70}}) << Factor::Bmi << none << none;
        QTest::newRow("BMI at height 0") << record(id, {{WeightField, 70}, {HeightField, 0}}) << Factor::Bmi << none
                                         << none;
        HealthRecord heightText = record(id, {{WeightField, 70}});
        heightText[HeightField] = Item::fromText(QStringLiteral("高"));
        QTest::newRow("BMI, height a text") << heightText << Factor::Bmi << none << none;
        QTest::newRow("weight, height a text") << heightText << Factor::Weight << 70.0 << none;
        QTest::newRow("weight over height - 105") << record(id, {{WeightField, 70}, {HeightField, 170}})
                                                  << Factor::Weight << 70.0 << 65.0;
        QTest::newRow("man's waist") << record(id, {{WaistField, 86}}) << Factor::Waist << 86.0 << 85.0;
        QTest::newRow("woman's waist") << record(id, {{WaistField, 86}}, QStringLiteral("女")) << Factor::Waist
                                       << 86.0 << 80.0;
        QTest::newRow("waist without sex") << record(id, {{WaistField, 86}}, QString()) << Factor::Waist << 86.0
                                           << none;
        QTest::newRow("systolic") << record(id, {{SystolicField, 150}}) << Factor::Systolic << 150.0 << 145.0;
        QTest::newRow("empty cholesterol") << record(id) << Factor::Cholesterol << none << 5.72;
    }
    void values()
    {
        QFETCH(HealthRecord, record);
        QFETCH(Factor, factor);
        QFETCH(double, value);
        QFETCH(double, threshold);
        const auto orNone = [](double x) { return qIsNaN(x) ? std::nullopt : std::optional<double>(x); };
        QCOMPARE(factorValue(factor, record), orNone(value));
        QCOMPARE(factorThreshold(factor, record), orNone(threshold));
    }

    // The values a record table marks: those above the model's thresholds.
    void valuesAboveThresholds_data()
    {
        QTest::addColumn<HealthRecord>("record");
        QTest::addColumn<quint16>("fields");
        const QString id = QStringLiteral("20240101080000");
        const Values man = {{AgeField, 50},          {HeightField, 170},    {WeightField, 75},
                            {TriglyceridesField, 2}, {SystolicField, 150},  {DiastolicField, 95},
                            {BloodSugarField, 7},    {SmokingField, 10},    {DrinkingField, 5},
                            {CholesterolField, 6},   {WaistField, 90}};
        FieldSet all;
        for (Field f : {WeightField, TriglyceridesField, SystolicField, DiastolicField, BloodSugarField,
                        CholesterolField, WaistField})
            all.insert(f);
        QTest::newRow("the worked man") << record(id, man) << all.bits;
        QTest::newRow("at the thresholds")
            << record(id, {{HeightField, 170}, {WeightField, 65}, {TriglyceridesField, 1.7}, {SystolicField, 145},
                           {DiastolicField, 90}, {BloodSugarField, 6.11}, {CholesterolField, 5.72}, {WaistField, 85}})
            << quint16(0);
        QTest::newRow("woman's waist 82") << record(id, {{WaistField, 82}}, QStringLiteral("女"))
                                          << quint16(1u << WaistField);
        QTest::newRow("man's waist 82") << record(id, {{WaistField, 82}}) << quint16(0);
    }
    void valuesAboveThresholds()
    {
        QFETCH(HealthRecord, record);
        QFETCH(quint16, fields);
        QCOMPARE(explainScore(record).aboveThreshold().bits, fields);
    }

    void recordTimes_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QDateTime>("when"); // invalid: none
        QTest::newRow("ordinary") << QStringLiteral("20090620210129") << at(2009, 6, 20, 21, 1, 29);
        QTest::newRow("leap day") << QStringLiteral("20240229000000") << at(2024, 2, 29);
        QTest::newRow("30 February") << QStringLiteral("20240230120000") << QDateTime();
        QTest::newRow("13 digits") << QStringLiteral("2024010112000") << QDateTime();
        QTest::newRow("text") << QStringLiteral("2024-01-01 12:00") << QDateTime();
    }
    void recordTimes()
    {
        QFETCH(QString, id);
        QFETCH(QDateTime, when);
        QCOMPARE(recordTime(id), when.isValid() ? std::optional(when) : std::nullopt);
    }

    // A wall time skipped by a daylight-saving change keeps its date and digits.
    void recordTimeInAClockChange()
    {
        const QTimeZone berlin("Europe/Berlin");
        if (!berlin.isValid())
            QSKIP("no time zone data");
        const std::optional<QDateTime> t = recordTime(QStringLiteral("20240331023000"), berlin);
        QVERIFY(t && t->isValid());
        QCOMPARE(t->date(), QDate(2024, 3, 31));
        QCOMPARE(t->time(), QTime(2, 30));
        QVERIFY(*t > *recordTime(QStringLiteral("20240331015959"), berlin));
    }

    // Undated records are left out and counted; a table out of time order is
    // put in order; a RecordId read as a number counts like its digits.
    void history()
    {
        HealthRecord asNumber = record(QString());
        asNumber[RecordIdField] = Item::fromNumber(20240105000000.0);
        const RecordTable table = tableOf({record(QStringLiteral("20240110000000")), record(QStringLiteral("bad")),
                                           asNumber, record(QStringLiteral("20240230000000")),
                                           record(QStringLiteral("20240110000000"))});
        const std::vector<double> scores = {1, 2, 3, 4, 5};
        const RecordHistory h = recordHistory(table, 5, scores);
        QCOMPARE(h.undated, 2);
        QCOMPARE(positions(h), (std::vector<int>{2, 0, 4}));
        QCOMPARE(h.records[0].score, 3.0);
        QCOMPARE(h.records[0].record, &table[2]);
        QCOMPARE(recordHistory(table, 5, std::span(scores).first(3)).records.size(), size_t(2));
    }

    void quickPeriods_data()
    {
        QTest::addColumn<QuickPeriod>("choice");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<Period>("period");
        QTest::addColumn<QString>("name");
        const QDate today(2024, 3, 31);
        QTest::newRow("all") << QuickPeriod::All << today << Period{} << QStringLiteral("全部记录");
        QTest::newRow("30 days") << QuickPeriod::Last30Days << today << Period{QDate(2024, 3, 2), today}
                                 << QStringLiteral("最近30天");
        QTest::newRow("3 months") << QuickPeriod::Last3Months << today << Period{QDate(2024, 1, 1), today}
                                  << QStringLiteral("最近3个月");
        QTest::newRow("1 year") << QuickPeriod::LastYear << today << Period{QDate(2023, 4, 1), today}
                                << QStringLiteral("最近1年");
        QTest::newRow("1 year from a leap day") << QuickPeriod::LastYear << QDate(2024, 2, 29)
                                                << Period{QDate(2023, 3, 1), QDate(2024, 2, 29)}
                                                << QStringLiteral("最近1年");
        QTest::newRow("3 months from 31 May") << QuickPeriod::Last3Months << QDate(2024, 5, 31)
                                              << Period{QDate(2024, 3, 1), QDate(2024, 5, 31)}
                                              << QStringLiteral("最近3个月");
    }
    void quickPeriods()
    {
        QFETCH(QuickPeriod, choice);
        QFETCH(QDate, today);
        QFETCH(Period, period);
        QFETCH(QString, name);
        QCOMPARE(Period::quick(choice, today), period);
        QCOMPARE(quickPeriodName(choice), name);
    }

    void periodEdges_data()
    {
        QTest::addColumn<Period>("period");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<bool>("inside");
        const Period p{QDate(2024, 1, 15), QDate(2024, 3, 1)};
        QTest::newRow("first day, 00:00:00") << p << at(2024, 1, 15) << true;
        QTest::newRow("last day, 23:59:59") << p << at(2024, 3, 1, 23, 59, 59) << true;
        QTest::newRow("day before, 23:59:59") << p << at(2024, 1, 14, 23, 59, 59) << false;
        QTest::newRow("day after, 00:00:00") << p << at(2024, 3, 2) << false;
        QTest::newRow("open start") << Period{QDate(), QDate(2024, 3, 1)} << at(1900, 1, 1) << true;
        QTest::newRow("from after to") << Period{QDate(2024, 3, 1), QDate(2024, 1, 15)} << at(2024, 2, 1) << false;
    }
    void periodEdges()
    {
        QFETCH(Period, period);
        QFETCH(QDateTime, when);
        QFETCH(bool, inside);
        QCOMPARE(period.contains(when), inside);
    }

    void periodTexts()
    {
        QCOMPARE(periodText({}), QStringLiteral("全部记录"));
        QCOMPARE(periodText({QDate(2024, 1, 1), QDate(2024, 3, 31)}), QStringLiteral("2024年01月01日至2024年03月31日"));
        QCOMPARE(periodText({QDate(2024, 1, 1), QDate()}), QStringLiteral("2024年01月01日起"));
        QCOMPARE(periodText({QDate(), QDate(2024, 3, 31)}), QStringLiteral("至2024年03月31日"));
    }

    // A known period: gaps are skipped, scores are taken as given.
    void statisticsOfAPeriod()
    {
        HealthRecord text = record(QStringLiteral("20240201120000"), {{WaistField, 90}}, QString());
        text[SystolicField] = Item::fromText(QStringLiteral("高"));
        const RecordTable table = tableOf({
            record(QStringLiteral("20240114235959"), {{SystolicField, 200}}), // before the period
            record(QStringLiteral("20240115000000"), {{SystolicField, 150}, {WaistField, 80}}),
            record(QStringLiteral("20240120093000"), {{WaistField, 86}}, QStringLiteral("女")), // no systolic
            text,
            record(QStringLiteral("20240301235959"), {{SystolicField, 140}}),
            record(QStringLiteral("20240302000000"), {{SystolicField, 100}}), // after it
            record(QStringLiteral("20240215080000"), {{SystolicField, 130}}), // stored out of order
        });
        const std::vector<double> scores = {9999, 2000, 3000, 0, 2500, 9999, 4400};
        const RecordHistory within = inPeriod(recordHistory(table, 7, scores), {QDate(2024, 1, 15), QDate(2024, 3, 1)});
        QCOMPARE(positions(within), (std::vector<int>{1, 2, 3, 6, 4}));

        const PeriodStatistics s = periodStatistics(within);
        QCOMPARE(s.recordCount, 5);
        QCOMPARE(s.first, at(2024, 1, 15));
        QCOMPARE(s.latest, at(2024, 3, 1, 23, 59, 59));

        const Figures &systolic = s[Factor::Systolic];
        QCOMPARE(systolic.count, 3);
        QCOMPARE(systolic.first, 150.0);
        QCOMPARE(systolic.latest, 140.0);
        QCOMPARE(systolic.mean, 140.0);
        QCOMPARE(systolic.minimum, 130.0);
        QCOMPARE(systolic.maximum, 150.0);
        QCOMPARE(systolic.change(), -10.0);
        QCOMPARE(systolic.aboveThreshold, 1);
        QCOMPARE(systolic.latestWhen, at(2024, 3, 1, 23, 59, 59));
        QVERIFY(!s[Factor::Cholesterol].hasValues());

        QCOMPARE(s.score.count, 5);
        QCOMPARE(s.score.mean, 2380.0);
        QCOMPARE(s.score.minimum, 0.0);
        QCOMPARE(s.score.maximum, 4400.0);
        QCOMPARE(s.score.change(), 500.0);
        QCOMPARE(s.bandCounts, (std::array<int, RiskBandCount>{2, 1, 1, 0, 1}));

        // Waist: 80 is not above a man's 85, 86 is above a woman's 80, 90 has no sex.
        const FactorSeries waist = factorSeries(Factor::Waist, within);
        QCOMPARE(waist.points.size(), size_t(3));
        QCOMPARE(waist.points[1].threshold, std::optional<double>(80));
        QCOMPARE(waist.points[1].above, true);
        QCOMPARE(waist.points[0].above || waist.points[2].above, false);
        QCOMPARE(waist.gaps, 2);
        QCOMPARE(s[Factor::Waist].aboveThreshold, 1);
        const FactorSeries sys = factorSeries(Factor::Systolic, within);
        QCOMPARE(sys.points[1].afterGap, true); // the record without a systolic value and the text
        QCOMPARE(sys.points[2].afterGap, false);
    }

    void riskBands_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("place");
        QTest::newRow("just under 2100") << 2099.99 << QStringLiteral("低于警戒线")
                                         << QStringLiteral("低于警戒线（约2100）");
        QTest::newRow("2100") << 2100.0 << QStringLiteral("警戒线至低危线")
                              << QStringLiteral("在警戒线（约2100）与低危线（约3000）之间");
        QTest::newRow("3056.66") << 3056.66 << QStringLiteral("低危线至中危线")
                                 << QStringLiteral("在低危线（约3000）与中危线（约3900）之间");
        QTest::newRow("just under 3915") << 3914.99 << QStringLiteral("低危线至中危线")
                                         << QStringLiteral("在低危线（约3000）与中危线（约3900）之间");
        QTest::newRow("3915") << 3915.0 << QStringLiteral("中危线至高危线")
                              << QStringLiteral("在中危线（约3900）与高危线（约4400）之间");
        QTest::newRow("4395") << 4395.0 << QStringLiteral("高危线以上") << QStringLiteral("在高危线（约4400）以上");
    }
    void riskBands()
    {
        QFETCH(double, score);
        QFETCH(QString, band);
        QFETCH(QString, place);
        QCOMPARE(riskBandName(riskBandOf(score)), band);
        QCOMPARE(riskPlaceText(score), place);
    }
};

QTEST_APPLESS_MAIN(AnalysisTest)
#include "tst_analysis.moc"
