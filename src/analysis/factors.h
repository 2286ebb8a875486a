#pragma once

#include "records/health_record.h"
#include "records/record_columns.h"

#include <QString>

#include <array>
#include <optional>

namespace velmora {

// The measured factors followed over time. All but BMI are items of a record;
// BMI is computed from weight and height.
enum class Factor {
    Systolic,
    Diastolic,
    Weight,
    Bmi,
    Waist,
    Cholesterol,
    Triglycerides,
    BloodSugar,
    Age,
    Smoking,
    Drinking,
};
inline constexpr int FactorCount = 11;

inline constexpr std::array<Factor, FactorCount> AllFactors = {
    Factor::Systolic,      Factor::Diastolic,  Factor::Weight, Factor::Bmi,     Factor::Waist,    Factor::Cholesterol,
    Factor::Triglycerides, Factor::BloodSugar, Factor::Age,    Factor::Smoking, Factor::Drinking,
};

// The item a factor is read from; none for BMI.
std::optional<Field> factorField(Factor factor);
// The factor's title and unit: the record table's column of its item
// ("血压/高", "mmHg"); for BMI "BMI" and "kg/m²".
const RecordColumn &factorColumn(Factor factor);

// The factor's value in a record; none for a gap (an empty item or a text).
// BMI is weight / (height / 100)², height in cm, and needs a positive height.
std::optional<double> factorValue(Factor factor, const HealthRecord &record);

// The model's threshold of a factor in a record, above which its term counts:
// 145, 90, 5.72, 1.7, 6.11; the waist's 85 or 80 by the record's sex; the
// standard weight height - 105. None for BMI, age and years, and where the
// record gives none (no sex, no positive height).
std::optional<double> factorThreshold(Factor factor, const HealthRecord &record);
// The threshold when it is the same for every record; none for those that vary.
std::optional<double> fixedThreshold(Factor factor);

// A guidance line drawn for reference: not part of the risk model.
struct ReferenceLine
{
    double value;
    const char16_t *name;

    QString nameText() const { return QString::fromUtf16(name); }
};

// BMI 24 and 28: overweight and obesity in Chinese adult guidance.
inline constexpr std::array<ReferenceLine, 2> BmiReferenceLines = {{{24, u"超重"}, {28, u"肥胖"}}};
// How a chart or table marks those lines.
inline constexpr char16_t ReferenceLinesNote[] = u"参考线：中国成人体重指数标准，不属于风险评分模型";

} // namespace velmora
