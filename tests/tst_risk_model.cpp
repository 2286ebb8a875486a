// The risk score: worked examples, strict thresholds, texts where numbers belong.

#include "model/risk_model.h"

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
};

QTEST_APPLESS_MAIN(RiskModelTest)
#include "tst_risk_model.moc"
