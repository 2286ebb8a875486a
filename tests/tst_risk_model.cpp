// The risk score: worked examples, strict thresholds, texts where numbers belong,
// and the score explained term by term.

#include "model/risk_model.h"
#include "model/score_breakdown.h"

#include <QTest>

using namespace velmora;

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

// One expected term: points, the value behind them, the threshold (NaN for none), the state.
struct Expected
{
    Term term;
    double points, value, threshold;
    TermState state;
};
const double None = qQNaN();

} // namespace

class RiskModelTest : public QObject
{
    Q_OBJECT

private slots:
    void workedExamples()
    {
        Entry man{QStringLiteral("男"), 50, 170, 75, 2.0, 150, 95, 7.0, 10, 5, 6.0, 90, QStringLiteral("有")};
        QVERIFY(qAbs(score(man) - 3056.66) < 1e-9);
        Entry woman{QStringLiteral("女"), 30, 160, 50, 1.2, 120, 80, 5.1, 0, 0, 4.5, 70, QStringLiteral("无")};
        QCOMPARE(score(woman), 1424.0);
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

    void weightTerm()
    {
        Entry e;
        e.height = 170;
        e.weight = 65; // exactly the standard weight
        QCOMPARE(score(e), 8.0);
        e.height = 0;
        e.weight = 300;
        QCOMPARE(score(e), 8.0);
        e.height = 1.75; // metres by mistake: standard weight -103.25
        e.weight = 70;
        QCOMPARE(score(e), 8.0 + 779.625);
    }

    void nonPositiveAgeAddsItself()
    {
        Entry e;
        e.age = -3;
        QCOMPARE(score(e), 8.0 - 3);
    }

    void textsWhereNumbersBelong()
    {
        Entry base{QStringLiteral("男"), 50, 170, 75, 2.0, 150, 95, 7.0, 10, 5, 6.0, 90, QStringLiteral("有")};
        for (Field field : {AgeField, TriglyceridesField, SystolicField, DiastolicField, BloodSugarField,
                            SmokingField, DrinkingField, CholesterolField, WaistField}) {
            HealthRecord r = base.record();
            r[field] = Item::fromText(QStringLiteral("1.2.3"));
            QCOMPARE(score(r), 0.0);
        }
        HealthRecord heightText = base.record();
        heightText[HeightField] = Item::fromText(QStringLiteral("abc"));
        QVERIFY(qAbs(score(heightText) - (3056.66 - 45)) < 1e-9);
        HealthRecord oddSex = base.record();
        oddSex[SexField] = Item::fromText(QStringLiteral("x"));
        oddSex[HeredityField] = Item::fromText(QStringLiteral("maybe"));
        // Without a sex the waist falls back to its raw value.
        QVERIFY(qAbs(score(oddSex) - (3056.66 - 8 - 12 - 450 + 90)) < 1e-9);
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

    // Every term of the worked examples, largest first, summing exactly to the score.
    void breakdownOfWorkedExamples_data()
    {
        QTest::addColumn<HealthRecord>("record");
        QTest::addColumn<std::vector<Expected>>("largestFirst");
        using S = TermState;
        QTest::newRow("man, 3056.66") << WorkedMan.record() << std::vector<Expected>{
            {Term::Age, 2250, 50, None, S::Counted},       {Term::Waist, 450, 90, 85, S::Counted},
            {Term::Systolic, 80, 150, 145, S::Counted},    {Term::Diastolic, 80, 95, 90, S::Counted},
            {Term::Smoking, 80, 10, None, S::Counted},     {Term::Weight, 45, 75, 65, S::Counted},
            {Term::Drinking, 40, 5, None, S::Counted},     {Term::Heredity, 12, 1, None, S::Counted},
            {Term::BloodSugar, 8.9, 7.0, 6.11, S::Counted}, {Term::Sex, 8, 2, None, S::Counted},
            {Term::Triglycerides, 1.5, 2.0, 1.7, S::Counted}, {Term::Cholesterol, 1.26, 6.0, 5.72, S::Counted}};
        QTest::newRow("woman, 1424") << WorkedWoman.record() << std::vector<Expected>{
            {Term::Age, 1350, 30, None, S::Counted},          {Term::Waist, 70, 70, 80, S::RawValue},
            {Term::Sex, 4, 1, None, S::Counted},              {Term::Weight, 0, 50, 55, S::NotAbove},
            {Term::Triglycerides, 0, 1.2, 1.7, S::NotAbove},  {Term::Systolic, 0, 120, 145, S::NotAbove},
            {Term::Diastolic, 0, 80, 90, S::NotAbove},        {Term::BloodSugar, 0, 5.1, 6.11, S::NotAbove},
            {Term::Smoking, 0, 0, None, S::Counted},          {Term::Drinking, 0, 0, None, S::Counted},
            {Term::Cholesterol, 0, 4.5, 5.72, S::NotAbove},   {Term::Heredity, 0, 0, None, S::NotListed}};
    }
    void breakdownOfWorkedExamples()
    {
        QFETCH(HealthRecord, record);
        QFETCH(std::vector<Expected>, largestFirst);
        const ScoreBreakdown b = explainScore(record);
        QCOMPARE(b.outcome, ScoreOutcome::Sum);
        QCOMPARE(b.score, score(record));
        QCOMPARE(sumOfTerms(b.terms), b.score);
        const auto order = b.largestFirst();
        for (size_t i = 0; i < order.size(); ++i) {
            const Expected &e = largestFirst[i];
            const TermPoints &t = *order[i];
            QCOMPARE(t.term, e.term);
            QVERIFY2(qAbs(t.points - e.points) < 1e-9, qPrintable(QString::number(t.points)));
            QCOMPARE(t.value, e.value);
            QCOMPARE(t.threshold.has_value(), !qIsNaN(e.threshold));
            if (t.threshold)
                QCOMPARE(*t.threshold, e.threshold);
            QCOMPARE(t.state, e.state);
        }
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
};

QTEST_APPLESS_MAIN(RiskModelTest)
#include "tst_risk_model.moc"
