#pragma once

#include "records/health_record.h"

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
    // or weight only drops the weight term.
    double ScoreRecord(const HealthRecord &record) const;

    // Entries whose cholesterol item names a diagnosis ("脑血栓", "糖尿病") score 5100.
    static double applyDiagnosisOverride(const HealthRecord &record, double score);

    // The score of the pass that stores a record: ScoreRecord, then the override.
    double scoreWithDiagnosis(const HealthRecord &record) const
    {
        return applyDiagnosisOverride(record, ScoreRecord(record));
    }

private:
    RiskCoefficients m_coefficients;
};

} // namespace velmora
