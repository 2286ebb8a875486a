// The risk score: worked examples, strict thresholds, texts where numbers belong,
// and the score explained term by term.

#include "analysis/score_explanation.h"
#include "model/risk_model.h"
#include "model/score_breakdown.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

struct Entry
{
    QString sex = QStringLiteral("男");
    double age = 0, height = 0, weight = 0, triglycerides = 0, systolic = 0, diastolic = 0, sugar = 0, smoking = 0,
           drinking = 0, cholesterol = 0, waist = 0;
    QString heredity = QStringLiteral("无");

    HealthRecord record() const
    {
        HealthRecord r;
        r[RecordIdField] = Item::fromNumber(20090620210129.0);
        r[SexField] = Item::fromText(sex);
        const double values[] = {age,      height,  weight,   triglycerides, systolic, diastolic,
                                 sugar,    smoking, drinking, cholesterol,   waist};
        for (int f = AgeField; f <= WaistField; ++f)
            r[Field(f)] = Item::fromNumber(values[f - AgeField]);
        r[HeredityField] = Item::fromText(heredity);
        return r;
    }
};

double score(const HealthRecord &r) { return RiskModel().ScoreRecord(r); }
double score(const Entry &e) { return score(e.record()); }

const Entry WorkedMan{QStringLiteral("男"), 50, 170, 75, 2.0, 150, 95, 7.0, 10, 5, 6.0, 90, QStringLiteral("有")};
const Entry WorkedWoman{QStringLiteral("女"), 30, 160, 50, 1.2, 120, 80, 5.1, 0, 0, 4.5, 70, QStringLiteral("无")};

} // namespace

class RiskModelTest : public QObject
{
    Q_OBJECT

private slots:
    void workedExamples()
    {
        QVERIFY(qAbs(score(WorkedMan) - 3056.66) < 1e-9);
        QCOMPARE(score(WorkedWoman), 1424.0);
    }

    void emptyItemsCountAsZero()
    {
        HealthRecord r;
        r[SexField] = Item::fromText(QStringLiteral("男"));
        r[HeredityField] = Item::fromText(QStringLiteral("无"));
        QCOMPARE(score(r), 8.0);
        QCOMPARE(score(HealthRecord()), 0.0);
    }

    void thresholdsAreStrict()
    {
        Entry atThresholds;
        atThresholds.sugar = 6.11;
        atThresholds.triglycerides = 1.7;
        atThresholds.cholesterol = 5.72;
        atThresholds.systolic = 145;
        atThresholds.diastolic = 90;
        atThresholds.height = 170;
        atThresholds.weight = 65; // the standard weight
        QCOMPARE(score(atThresholds), 8.0);

        Entry waist;
        waist.waist = 85;
        QCOMPARE(score(waist), 8.0 + 85);
        waist.waist = 86;
        QCOMPARE(score(waist), 8.0 + 430);
        waist.waist = 82;
        QCOMPARE(score(waist), 8.0 + 82);
        waist.sex = QStringLiteral("女");
        QCOMPARE(score(waist), 4.0 + 410);
    }

    void diagnosisOverrideOnlyWhereAsked()
    {
        for (const QString &diagnosis : {QStringLiteral("脑血栓"), QStringLiteral("糖尿病")}) {
            HealthRecord r = Entry().record();
            r[CholesterolField] = Item::fromText(diagnosis);
            QCOMPARE(score(r), 0.0);
            QCOMPARE(RiskModel().scoreWithDiagnosis(r), 5100.0);
        }
        QCOMPARE(RiskModel().scoreWithDiagnosis(Entry().record()), 8.0);
    }

    // A text as a number makes the sum impossible and says where; a text as
    // height or weight drops only the weight term; the store pass's override.
    void breakdownOfTexts_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<ScorePass>("pass");
        QTest::addColumn<ScoreOutcome>("outcome");
        QTest::addColumn<double>("expectedScore");
        const double withoutWeight = score(WorkedMan) - 45;
        for (Field field : SumBlockingFields)
            QTest::addRow("text %d", int(field)) << field << QStringLiteral("1.2.3") << ScorePass::Store
                                                 << ScoreOutcome::Impossible << 0.0;
        QTest::newRow("height") << HeightField << QStringLiteral("abc") << ScorePass::Display << ScoreOutcome::Sum
                                << withoutWeight;
        QTest::newRow("weight") << WeightField << QStringLiteral("abc") << ScorePass::Display << ScoreOutcome::Sum
                                << withoutWeight;
        QTest::newRow("脑血栓, display") << CholesterolField << QStringLiteral("脑血栓") << ScorePass::Display
                                         << ScoreOutcome::Impossible << 0.0;
        QTest::newRow("糖尿病, store") << CholesterolField << QStringLiteral("糖尿病") << ScorePass::Store
                                       << ScoreOutcome::Diagnosis << 5100.0;
    }
    void breakdownOfTexts()
    {
        QFETCH(Field, field);
        QFETCH(QString, text);
        QFETCH(ScorePass, pass);
        QFETCH(ScoreOutcome, outcome);
        QFETCH(double, expectedScore);
        HealthRecord r = WorkedMan.record();
        r[field] = Item::fromText(text);
        const ScoreBreakdown b = explainScore(r, {}, pass);
        QCOMPARE(b.outcome, outcome);
        QCOMPARE(b.score, pass == ScorePass::Store ? RiskModel().scoreWithDiagnosis(r) : score(r));
        QVERIFY(qAbs(b.score - expectedScore) < 1e-9);
        QCOMPARE(b.textItems.bits, quint16(1u << field));
        const bool blocks = field != HeightField && field != WeightField;
        QCOMPARE(b.blockingTexts(), blocks ? std::vector<Field>{field} : std::vector<Field>{});
        const Field termField = field == HeightField ? WeightField : field;
        for (const TermPoints &t : b.terms)
            QCOMPARE(t.state == TermState::Text, t.field == termField);
    }

    // The states a term is in besides counting.
    void termStates_data()
    {
        QTest::addColumn<HealthRecord>("record");
        QTest::addColumn<Term>("term");
        QTest::addColumn<TermState>("state");
        QTest::addColumn<double>("points");
        Entry e;
        e.age = -3;
        QTest::newRow("age not positive") << e.record() << Term::Age << TermState::RawValue << -3.0;
        e.waist = 86;
        e.sex = QStringLiteral("?");
        QTest::newRow("waist without a sex") << e.record() << Term::Waist << TermState::RawValue << 86.0;
        QTest::newRow("sex not listed") << e.record() << Term::Sex << TermState::NotListed << 0.0;
        e.weight = 300;
        QTest::newRow("no height") << e.record() << Term::Weight << TermState::NoHeight << 0.0;
        e.height = 1.75;
        e.weight = 70;
        QTest::newRow("height in metres") << e.record() << Term::Weight << TermState::Counted << 779.625;
    }
    void termStates()
    {
        QFETCH(HealthRecord, record);
        QFETCH(Term, term);
        QFETCH(TermState, state);
        QFETCH(double, points);
        const ScoreBreakdown b = explainScore(record);
        QCOMPARE(b[term].state, state);
        QCOMPARE(b[term].points, points);
        QCOMPARE(b.score, score(record));
    }

    // The explanation a person reads, line by line: each term's value, threshold and points.
    void explanationOfWorkedExamples_data()
    {
        QTest::addColumn<HealthRecord>("record");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("man, 3056.66") << WorkedMan.record() << QStringList{
            u"风险评分：3056.66，在低危线（约3000）与中危线（约3900）之间"_s, u"年龄 50 岁：2250 分"_s,
            u"腰围 90 cm，高于 85 cm：450 分"_s, u"血压/高 150 mmHg，高于 145 mmHg：80 分"_s,
            u"血压/低 95 mmHg，高于 90 mmHg：80 分"_s, u"吸烟 10 年：80 分"_s,
            u"体重 75 kg，高于标准体重 65 kg：45 分"_s, u"饮酒 5 年：40 分"_s, u"遗传 有：12 分"_s,
            u"血糖 7 mmol/L，高于 6.11 mmol/L：8.9 分"_s, u"性别 男：8 分"_s,
            u"甘油三脂 2 mmol/L，高于 1.7 mmol/L：1.5 分"_s, u"胆固醇 6 mmol/L，高于 5.72 mmol/L：1.26 分"_s};
        QTest::newRow("woman, 1424") << WorkedWoman.record() << QStringList{
            u"风险评分：1424，低于警戒线（约2100）"_s, u"年龄 30 岁：1350 分"_s,
            u"腰围 70 cm，未高于 80 cm，计腰围本身：70 分"_s, u"性别 女：4 分"_s,
            u"体重 50 kg，未高于标准体重 55 kg：0 分"_s, u"甘油三脂 1.2 mmol/L，未高于 1.7 mmol/L：0 分"_s,
            u"血压/高 120 mmHg，未高于 145 mmHg：0 分"_s, u"血压/低 80 mmHg，未高于 90 mmHg：0 分"_s,
            u"血糖 5.1 mmol/L，未高于 6.11 mmol/L：0 分"_s, u"吸烟 0 年：0 分"_s, u"饮酒 0 年：0 分"_s,
            u"胆固醇 4.5 mmol/L，未高于 5.72 mmol/L：0 分"_s, u"遗传 无：0 分"_s};
    }
    void explanationOfWorkedExamples()
    {
        QFETCH(HealthRecord, record);
        QFETCH(QStringList, lines);
        const ScoreBreakdown b = explainScore(record);
        QCOMPARE(scoreExplanation(record, b), lines); // every term, largest first
        QCOMPARE(b.outcome, ScoreOutcome::Sum);
        QCOMPARE(b.score, score(record));
        QCOMPARE(sumOfTerms(b.terms), b.score); // to the last bit
    }

    // Texts, the diagnosis and missing answers are said as such, never as zeros.
    void explanationOfTextsAndGaps_data()
    {
        QTest::addColumn<HealthRecord>("record");
        QTest::addColumn<ScorePass>("pass");
        QTest::addColumn<QStringList>("opening"); // the score's lines
        QTest::addColumn<QString>("termLine");    // one of the terms
        const auto with = [](Field field, const Item &item) {
            HealthRecord r = WorkedMan.record();
            r[field] = item;
            return r;
        };
        const Item diabetes = Item::fromText(u"糖尿病"_s);
        QTest::newRow("diagnosis when storing") << with(CholesterolField, diabetes) << ScorePass::Store
            << QStringList{u"风险评分：5100，在高危线（约4400）以上"_s, u"胆固醇写有“糖尿病”，存储时按诊断计为 5100"_s}
            << u"胆固醇 “糖尿病”是文字，无法计分"_s;
        QTest::newRow("text blocks the sum") << with(BloodSugarField, Item::fromText(u"偏高"_s)) << ScorePass::Display
            << QStringList{u"风险评分：0，低于警戒线（约2100）"_s, u"血糖是文字，各项无法相加，评分为 0"_s}
            << u"血糖 “偏高”是文字，无法计分"_s;
        QTest::newRow("height as text") << with(HeightField, Item::fromText(u"高"_s)) << ScorePass::Display
            << QStringList{u"风险评分：3011.66，在低危线（约3000）与中危线（约3900）之间"_s}
            << u"体重 75 kg，身高“高”是文字，不计分"_s;
        QTest::newRow("no height") << with(HeightField, Item()) << ScorePass::Display
            << QStringList{u"风险评分：3011.66，在低危线（约3000）与中危线（约3900）之间"_s}
            << u"体重 75 kg，没有身高，无从比较标准体重：0 分"_s;
        QTest::newRow("unlisted sex") << with(SexField, Item::fromText(u"M"_s)) << ScorePass::Display
            << QStringList{u"风险评分：2688.66，在警戒线（约2100）与低危线（约3000）之间"_s}
            << u"性别 M，不是“男”或“女”：0 分"_s;
    }
    void explanationOfTextsAndGaps()
    {
        QFETCH(HealthRecord, record);
        QFETCH(ScorePass, pass);
        QFETCH(QStringList, opening);
        QFETCH(QString, termLine);
        const QStringList lines = scoreExplanation(record, explainScore(record, {}, pass));
        QCOMPARE(lines.mid(0, opening.size()), opening);
        QCOMPARE(lines.size(), opening.size() + TermCount);
        QVERIFY2(lines.contains(termLine), qPrintable(lines.join(u'\n')));
    }
};

QTEST_APPLESS_MAIN(RiskModelTest)
#include "tst_risk_model.moc"
