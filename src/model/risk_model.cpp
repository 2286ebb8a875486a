#include "risk_model.h"

#include <cstring>

namespace velmora {

namespace {

const QByteArray Male("\xC4\xD0");                 // 男
const QByteArray Female("\xC5\xAE");               // 女
const QByteArray Present("\xD3\xD0");              // 有
const QByteArray Stroke("\xC4\xD4\xD1\xAA\xCB\xA8"); // 脑血栓
const QByteArray Diabetes("\xCC\xC7\xC4\xF2\xB2\xA1"); // 糖尿病

bool isText(const Item &item, const QByteArray &text)
{
    if (!item.isText())
        return false;
    const QByteArray &bytes = item.textBytes();
    return bytes.size() == text.size()
           && (bytes.constData() == text.constData() || std::memcmp(bytes.constData(), text.constData(), size_t(text.size())) == 0);
}

// The amount above a threshold, times the coefficient; 0 at or below it.
double above(double value, double threshold, double coefficient)
{
    return value > threshold ? coefficient * (value - threshold) : 0.0;
}

} // namespace

double RiskModel::ScoreRecord(const HealthRecord &r) const
{
    // Terms that cannot be computed from a text make the whole sum fail.
    for (Field field : {AgeField, TriglyceridesField, SystolicField, DiastolicField, BloodSugarField, SmokingField,
                        DrinkingField, CholesterolField, WaistField}) {
        if (r[field].isText())
            return 0.0;
    }
    const RiskCoefficients &c = m_coefficients;
    const bool male = isText(r[SexField], Male);
    const bool female = isText(r[SexField], Female);

    const double sex = male ? c.sex * 2 : (female ? c.sex * 1 : 0);
    const double heredity = isText(r[HeredityField], Present) ? c.heredity : 0;

    const double ageValue = r[AgeField].number();
    const double age = ageValue > 0 ? c.age * ageValue : ageValue;

    double weight = 0.0;
    if (!r[HeightField].isText() && !r[WeightField].isText()) {
        const double height = r[HeightField].number();
        const double standardWeight = height - 105;
        if (height > 0)
            weight = above(r[WeightField].number(), standardWeight, c.weight);
    }

    const double sugar = above(r[BloodSugarField].number(), 6.11, c.bloodSugar);
    const double triglycerides = above(r[TriglyceridesField].number(), 1.7, c.triglycerides);
    const double cholesterol = above(r[CholesterolField].number(), 5.72, c.cholesterol);
    const double systolic = above(r[SystolicField].number(), 145, c.systolic);
    const double diastolic = above(r[DiastolicField].number(), 90, c.diastolic);
    const double smoking = c.smoking * r[SmokingField].number();
    const double drinking = c.drinking * r[DrinkingField].number();

    const double waistValue = r[WaistField].number();
    double waist = waistValue; // below the threshold the waist itself is added
    if ((male && waistValue > 85) || (female && waistValue > 80))
        waist = c.waist * waistValue;

    return sex + age + weight + triglycerides + systolic + diastolic + sugar + smoking + drinking + cholesterol
           + waist + heredity;
}

double RiskModel::applyDiagnosisOverride(const HealthRecord &record, double score)
{
    const Item &cholesterol = record[CholesterolField];
    if (isText(cholesterol, Stroke) || isText(cholesterol, Diabetes))
        return DiagnosisScore;
    return score;
}

} // namespace velmora
