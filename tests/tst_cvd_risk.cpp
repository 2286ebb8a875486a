// The ten-year cardiovascular risk: every printed East Asia chart cell, the
// worked examples, the cells nearest a rounding edge, the choice of model and
// the records that get no estimate.

#include "model/cvd_estimate.h"
#include "model/cvd_risk.h"
#include "records/csv_table.h"
#include "records/gbk.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

#include <cmath>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// Rows of a comma-separated file, by heading.
QList<QHash<QString, QString>> readCsv(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    const std::vector<CsvRow> table = parseCsv(QString::fromUtf8(file.readAll()), u',').rows;
    QList<QHash<QString, QString>> rows;
    for (size_t r = 1; r < table.size() && !table[r].isBlank(); ++r) {
        QHash<QString, QString> &row = rows.emplaceBack();
        for (qsizetype i = 0; i < table[r].fields.size(); ++i)
            row[table[0].fields.value(i)] = table[r].fields[i];
    }
    return rows;
}

// The value each printed band is evaluated at: its middle.
double bandPoint(const QString &band)
{
    static const QHash<QString, double> points = {
        {u"40-44"_s, 42.5}, {u"45-49"_s, 47.5}, {u"50-54"_s, 52.5}, {u"55-59"_s, 57.5}, {u"60-64"_s, 62.5},
        {u"65-69"_s, 67.5}, {u"70-74"_s, 72.5}, {u"<120"_s, 110},   {u"120-139"_s, 130}, {u"140-159"_s, 150},
        {u"160-179"_s, 170}, {u">=180"_s, 190}, {u"<4"_s, 3.5},     {u"4-4.9"_s, 4.5},  {u"5-5.9"_s, 5.5},
        {u"6-6.9"_s, 6.5},  {u">=7"_s, 7.5},    {u"<20"_s, 17.5},   {u"20-24"_s, 22.5}, {u"25-29"_s, 27.5},
        {u"30-35"_s, 32.5}, {u">=35"_s, 37.5},
    };
    if (!points.contains(band))
        qFatal("unknown band %s", qPrintable(band));
    return points[band];
}

cvd::Inputs inputsOf(const QHash<QString, QString> &row, double age, double systolic, double third)
{
    cvd::Inputs in;
    in.sex = row[u"sex"_s] == u"male" ? cvd::Sex::Male : cvd::Sex::Female;
    in.age = age;
    in.smoker = row[u"smoker"_s] == u"yes";
    in.systolic = systolic;
    in.diabetes = row[u"diabetes"_s] == u"yes";
    in.cholesterol = in.bmi = third;
    return in;
}

HealthRecord record(const QString &sex, double age, double systolic, double cholesterol, double height = 170,
                    double weight = 70)
{
    HealthRecord r;
    r[SexField] = Item::fromText(sex);
    r[AgeField] = Item::fromNumber(age);
    r[SystolicField] = Item::fromNumber(systolic);
    if (cholesterol > 0)
        r[CholesterolField] = Item::fromNumber(cholesterol);
    if (height > 0)
        r[HeightField] = Item::fromNumber(height);
    if (weight > 0)
        r[WeightField] = Item::fromNumber(weight);
    return r;
}

const CvdAnswers NonSmoker{false, false, false};

} // namespace

class CvdRiskTest : public QObject
{
    Q_OBJECT

private slots:
    void everyChartCell()
    {
        int lab = 0, nonlab = 0;
        QStringList wrong;
        for (const auto &row : readCsv(u":/who_cvd/charts_east_asia.csv"_s)) {
            const bool isLab = row[u"model"_s] == u"lab";
            const double third = bandPoint(row[isLab ? u"tc_band"_s : u"bmi_band"_s]);
            const cvd::Inputs in =
                inputsOf(row, bandPoint(row[u"age_band"_s]), bandPoint(row[u"sbp_band"_s]), third);
            const cvd::Model model = isLab ? cvd::Model::Laboratory : cvd::Model::NonLaboratory;
            const int percent = cvd::wholePercent(cvd::tenYearRisk(model, in).total);
            if (percent == row[u"risk_percent"_s].toInt())
                ++(isLab ? lab : nonlab);
            else
                wrong << QStringList(row.values()).join(u' ');
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        QCOMPARE(lab, 1400);
        QCOMPARE(nonlab, 700);
    }

    void workedExamples()
    {
        int compared = 0;
        double worst = 0;
        for (const auto &row : readCsv(u":/who_cvd/examples.csv"_s)) {
            if (row[u"calibration"_s] != u"east_asia_2017")
                continue; // the China country row is not the charts' calibration
            const bool isLab = row[u"model"_s] == u"lab";
            const cvd::Inputs in = inputsOf(row, row[u"age"_s].toDouble(), row[u"sbp_mmhg"_s].toDouble(),
                                            row[isLab ? u"tc_mmol_l"_s : u"bmi_kg_m2"_s].toDouble());
            const cvd::Risk risk = cvd::tenYearRisk(isLab ? cvd::Model::Laboratory : cvd::Model::NonLaboratory, in);
            for (auto [got, heading] : {std::pair{risk.coronary, u"chd_risk_percent"_s},
                                        std::pair{risk.stroke, u"stroke_risk_percent"_s},
                                        std::pair{risk.total, u"cvd_risk_percent"_s}})
                worst = std::max(worst, std::abs(100 * got - row[heading].toDouble()));
            ++compared;
        }
        QCOMPARE(compared, 10);
        qInfo("largest difference: %.2e percentage points", worst);
        QVERIFY(worst < 1e-9);
    }

    // The cells within 0.001 of a rounding edge, with the independent check's unrounded values.
    void cellsNearRoundingEdge()
    {
        struct Cell
        {
            bool lab, male, smoker, diabetes;
            double age, systolic, third, unrounded;
            int printed;
        };
        for (const Cell &c : {Cell{true, true, true, false, 42.5, 150, 6.5, 8.499781454, 8},
                              Cell{true, true, true, false, 57.5, 170, 4.5, 19.499593094, 19},
                              Cell{true, false, false, true, 42.5, 190, 5.5, 14.500419448, 15},
                              Cell{true, false, false, true, 47.5, 150, 6.5, 10.500651917, 11},
                              Cell{true, false, true, false, 72.5, 170, 5.5, 31.499633139, 31},
                              Cell{true, false, true, true, 72.5, 110, 4.5, 27.499879961, 27},
                              Cell{false, false, true, false, 67.5, 150, 22.5, 23.500151006, 24}}) {
            const cvd::Inputs in{c.male ? cvd::Sex::Male : cvd::Sex::Female, c.age, c.smoker, c.systolic, c.diabetes,
                                 c.third, c.third};
            const double total = cvd::tenYearRisk(c.lab ? cvd::Model::Laboratory : cvd::Model::NonLaboratory, in).total;
            QVERIFY2(std::abs(100 * total - c.unrounded) < 1e-8, qPrintable(QString::number(c.unrounded)));
            QCOMPARE(cvd::wholePercent(total), c.printed);
        }
    }

    // Each band from its first whole percent to its last.
    void bands()
    {
        const QStringList names{u"<5%"_s, u"5%–<10%"_s, u"10%–<20%"_s, u"20%–<30%"_s, u"≥30%"_s};
        const std::pair<int, int> percentBand[] = {{4, 0}, {5, 1}, {9, 1}, {10, 2}, {19, 2}, {20, 3}, {29, 3}, {30, 4}};
        for (auto [percent, band] : percentBand)
            QCOMPARE(cvd::bandText(cvd::bandOf(percent)), names[band]);
    }

    // A record and the answers: the model used, or why there is no estimate.
    void estimates_data()
    {
        QTest::addColumn<HealthRecord>("record");
        QTest::addColumn<CvdAnswers>("answers");
        QTest::addColumn<QStringList>("lines");
        const CvdAnswers smoker{true, false, false};
        const CvdAnswers noDiabetesAnswer{true, std::nullopt, false};
        HealthRecord stroke = record(u"男"_s, 55, 145, 0);
        stroke[CholesterolField] = Item::fromText(u"脑血栓"_s);
        HealthRecord diabetesText = record(u"男"_s, 48, 150, 0, 170, 70);
        diabetesText[CholesterolField] = Item::fromText(u"糖尿病"_s);
        HealthRecord ageText = record(u"男"_s, 55, 145, 5.2);
        ageText[AgeField] = Item::fromText(u"五十"_s);

        // Example 2 of the worked examples: 12.636...%.
        QTest::newRow("laboratory") << record(u"男"_s, 55, 145, 5.2) << smoker
                                    << QStringList{u"十年心血管病风险：13%（10%–<20%）"_s,
                                                   u"WHO 2019 实验室模型（东亚校准）：男，55 岁，吸烟，收缩压 145 mmHg，无糖尿病，总胆固醇 5.2 mmol/L"_s};
        // Without a diabetes answer, the same person by BMI (170 cm, 70 kg): 12.863...%.
        QTest::newRow("non-laboratory without diabetes answer")
            << record(u"男"_s, 55, 145, 5.2) << noDiabetesAnswer
            << QStringList{u"十年心血管病风险：13%（10%–<20%）"_s,
                           u"WHO 2019 非实验室模型（东亚校准）：男，55 岁，吸烟，收缩压 145 mmHg，BMI 24.2 kg/m²"_s};
        // 9.970...%, 42.429...% and 1.444...% (the independent check's figures).
        QTest::newRow("diabetes text: non-laboratory")
            << diabetesText << CvdAnswers{true, true, false}
            << QStringList{u"十年心血管病风险：10%（10%–<20%）"_s,
                           u"WHO 2019 非实验室模型（东亚校准）：男，48 岁，吸烟，收缩压 150 mmHg，BMI 24.2 kg/m²"_s};
        QTest::newRow("age 80 and beyond the open bands")
            << record(u"女"_s, 80, 200, 8.0) << NonSmoker
            << QStringList{u"十年心血管病风险：42%（≥30%）"_s,
                           u"WHO 2019 实验室模型（东亚校准）：女，80 岁，不吸烟，收缩压 200 mmHg，无糖尿病，总胆固醇 8 mmol/L"_s};
        QTest::newRow("age 40, BMI below 20")
            << record(u"女"_s, 40, 110, 0, 170, 50) << NonSmoker
            << QStringList{u"十年心血管病风险：1%（<5%）"_s,
                           u"WHO 2019 非实验室模型（东亚校准）：女，40 岁，不吸烟，收缩压 110 mmHg，BMI 17.3 kg/m²"_s};

        const auto none = [](const char *name, const HealthRecord &r, const CvdAnswers &a, const QString &why) {
            QTest::newRow(name) << r << a << QStringList{u"十年心血管病风险：无估计（%1）"_s.arg(why)};
        };
        none("not answered", record(u"男"_s, 55, 145, 5.2), CvdAnswers{}, u"尚未回答吸烟、糖尿病与心梗或卒中史的问题"_s);
        none("event not answered", record(u"男"_s, 55, 145, 5.2), CvdAnswers{true, false, std::nullopt},
             u"尚未回答吸烟、糖尿病与心梗或卒中史的问题"_s);
        none("had a heart attack or stroke", record(u"男"_s, 55, 145, 5.2), CvdAnswers{true, false, true},
             u"已有心梗或卒中史，本模型不适用"_s);
        none("stroke text", stroke, NonSmoker, u"胆固醇写有“脑血栓”，本模型不适用"_s);
        none("no sex", record(QString(), 55, 145, 5.2), NonSmoker, u"性别不是“男”或“女”"_s);
        none("age a text", ageText, NonSmoker, u"没有年龄"_s);
        none("age 39.9", record(u"男"_s, 39.9, 145, 5.2), NonSmoker, u"年龄不在 40–80 岁之间，本模型不适用"_s);
        none("age 80.1", record(u"男"_s, 80.1, 145, 5.2), NonSmoker, u"年龄不在 40–80 岁之间，本模型不适用"_s);
        none("no systolic", record(u"男"_s, 55, 0, 5.2), NonSmoker, u"没有 60–300 mmHg 之间的收缩压（血压/高）"_s);
        none("systolic 1450", record(u"男"_s, 55, 1450, 5.2), NonSmoker, u"没有 60–300 mmHg 之间的收缩压（血压/高）"_s);
        none("no measures", record(u"男"_s, 55, 145, 0, 0, 70), NonSmoker,
             u"既没有胆固醇（及糖尿病的回答），也没有身高与体重"_s);
        none("height in metres", record(u"男"_s, 55, 145, 0, 1.7, 70), NonSmoker,
             u"既没有胆固醇（及糖尿病的回答），也没有身高与体重"_s);
    }

    void estimates()
    {
        QFETCH(HealthRecord, record);
        QFETCH(CvdAnswers, answers);
        QFETCH(QStringList, lines);
        QCOMPARE(cvdExplanation(estimateCvdRisk(record, answers)), lines);
    }

    // The answers file as written, and as a hand may have edited it.
    void answersFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<CvdAnswers>("answers");
        const auto g = [](const char16_t *text) { return gbk(QString::fromUtf16(text)); };
        QTest::newRow("as written") << g(u"吸烟=是\r\n糖尿病=否\r\n心梗或卒中=否\r\n") << CvdAnswers{true, false, false};
        QTest::newRow("nothing") << QByteArray() << CvdAnswers{};
        QTest::newRow("LF, blanks, one answer") << g(u" 糖尿病 = 是 \n") << CvdAnswers{std::nullopt, true, std::nullopt};
        QTest::newRow("unknown question or value skipped")
            << g(u"吸烟=有时\r\n饮酒=是\r\n心梗或卒中\r\n心梗或卒中=是") << CvdAnswers{std::nullopt, std::nullopt, true};
        QTest::newRow("the last of two counts") << g(u"吸烟=是\r\n吸烟=否\r\n") << CvdAnswers{false, std::nullopt, std::nullopt};
        QTest::newRow("not GBK") << QByteArray("\xff\xfe=\x81\r\n\x81") << CvdAnswers{};
    }

    void answersFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(CvdAnswers, answers);
        QCOMPARE(readCvdAnswers(content), answers);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(writeCvdAnswers(buffer, answers));
        QCOMPARE(readCvdAnswers(buffer.data()), answers);
        QCOMPARE(buffer.data().count("\r\n"), buffer.data().count('\n'));
    }

    void hintsFromRecords()
    {
        QCOMPARE(cvdHints({}), CvdAnswers{});
        HealthRecord older = record(u"男"_s, 55, 145, 5.2);
        older[SmokingField] = Item::fromNumber(20);
        older[BloodSugarField] = Item::fromNumber(7.0);
        HealthRecord latest = record(u"男"_s, 56, 140, 0);
        latest[SmokingField] = Item::fromNumber(0);
        QCOMPARE(cvdHints({older, latest}), (CvdAnswers{false, true, false}));
        latest[CholesterolField] = Item::fromText(u"脑血栓"_s);
        latest[SmokingField] = Item::fromNumber(21);
        older[BloodSugarField] = Item::fromNumber(6.9);
        QCOMPARE(cvdHints({older, latest}), (CvdAnswers{true, false, true}));
    }
};

QTEST_APPLESS_MAIN(CvdRiskTest)
#include "tst_cvd_risk.moc"
