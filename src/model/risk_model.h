#pragma once

#include "records/health_record.h"

#include <QString>

#include <optional>

namespace velmora {

// The points given to each factor.
struct RiskCoefficients
{
    int sex = 4;
    int age = 45;
    double weight = 4.5; // per kg over the standard weight (height - 105)
    int triglycerides = 5;
    int systolic = 16;
    int diastolic = 16;
    int bloodSugar = 10;
    int smoking = 8;
    int drinking = 8;
    double cholesterol = 4.5;
    int waist = 5;
    int heredity = 12;
};

// The thresholds of the formulas: a term counts only above them.
namespace threshold {
constexpr double BloodSugar = 6.11;
constexpr double Triglycerides = 1.7;
constexpr double Cholesterol = 5.72;
constexpr double Systolic = 145;
constexpr double Diastolic = 90;
constexpr double MaleWaist = 85;
constexpr double FemaleWaist = 80;
constexpr double StandardWeightOffset = 105; // standard weight = height - 105
} // namespace threshold

// Whether an item is exactly the text of these GBK bytes.
bool isGbkText(const Item &item, const QByteArray &gbkText);

enum class Sex { Male, Female, Unknown };

// "男", "女", or anything else.
Sex sexOf(const HealthRecord &record);
// The waist above which the waist term counts: 85 for a man, 80 for a woman, none otherwise.
std::optional<double> waistThreshold(Sex sex);
// Height - 105 for a positive numeric height; none otherwise (the weight term is then 0).
std::optional<double> standardWeight(const HealthRecord &record);

// The items where a text makes the whole sum impossible.
inline constexpr Field SumBlockingFields[] = {AgeField,     TriglyceridesField, SystolicField,
                                              DiastolicField, BloodSugarField,  SmokingField,
                                              DrinkingField, CholesterolField,  WaistField};

// An additive points score: each factor adds a term, most of them only above a
// clinical threshold, and the terms are summed without bounds.
class RiskModel
{
public:
    static constexpr double DiagnosisScore = 5100.0;

    RiskModel() = default;
    explicit RiskModel(const RiskCoefficients &coefficients) : m_coefficients(coefficients) {}

    const RiskCoefficients &coefficients() const { return m_coefficients; }

    // The RiskScore of one entry. A text where a laboratory value, a pressure,
    // the age, the years or the waist belong makes the score 0; a text as height
    // or weight only drops the weight term. The terms are those of explainScore
    // (score_breakdown.cpp), which defines this too.
    double ScoreRecord(const HealthRecord &record) const;

    // Entries whose cholesterol item names a diagnosis ("脑血栓", "糖尿病") score 5100.
    static bool namesDiagnosis(const HealthRecord &record);
    static double applyDiagnosisOverride(const HealthRecord &record, double score)
    {
        return namesDiagnosis(record) ? DiagnosisScore : score;
    }

    // The score of the pass that stores a record: ScoreRecord, then the override.
    double scoreWithDiagnosis(const HealthRecord &record) const
    {
        return applyDiagnosisOverride(record, ScoreRecord(record));
    }

private:
    RiskCoefficients m_coefficients;
};

// A risk score as the program shows it: rounded to hundredths, in its
// shortest form ("3056.66", "1424").
QString scoreText(double score);

} // namespace velmora
