#include "analysis/factors.h"

#include "model/risk_model.h"

namespace velmora {

namespace {

constexpr RecordColumn BmiColumn{FieldCount, u"BMI", u"kg/m²"};

std::optional<double> numberOf(const Item &item)
{
    return item.isNumber() ? std::optional<double>(item.number()) : std::nullopt;
}

std::optional<double> bmiOf(const HealthRecord &record)
{
    const std::optional<double> weight = numberOf(record[WeightField]);
    const std::optional<double> height = numberOf(record[HeightField]);
    if (!weight || !height || !(*height > 0))
        return std::nullopt;
    const double metres = *height / 100;
    return *weight / (metres * metres);
}

} // namespace

std::optional<Field> factorField(Factor factor)
{
    switch (factor) {
    case Factor::Systolic:
        return SystolicField;
    case Factor::Diastolic:
        return DiastolicField;
    case Factor::Weight:
        return WeightField;
    case Factor::Bmi:
        break;
    case Factor::Waist:
        return WaistField;
    case Factor::Cholesterol:
        return CholesterolField;
    case Factor::Triglycerides:
        return TriglyceridesField;
    case Factor::BloodSugar:
        return BloodSugarField;
    case Factor::Age:
        return AgeField;
    case Factor::Smoking:
        return SmokingField;
    case Factor::Drinking:
        return DrinkingField;
    }
    return std::nullopt;
}

const RecordColumn &factorColumn(Factor factor)
{
    const std::optional<Field> field = factorField(factor);
    return field ? columnOfField(*field) : BmiColumn;
}

std::optional<double> factorValue(Factor factor, const HealthRecord &record)
{
    const std::optional<Field> field = factorField(factor);
    return field ? numberOf(record[*field]) : bmiOf(record);
}

std::optional<double> fixedThreshold(Factor factor)
{
    switch (factor) {
    case Factor::Systolic:
        return threshold::Systolic;
    case Factor::Diastolic:
        return threshold::Diastolic;
    case Factor::Cholesterol:
        return threshold::Cholesterol;
    case Factor::Triglycerides:
        return threshold::Triglycerides;
    case Factor::BloodSugar:
        return threshold::BloodSugar;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<double> factorThreshold(Factor factor, const HealthRecord &record)
{
    switch (factor) {
    case Factor::Weight:
        return standardWeight(record);
    case Factor::Waist:
        return waistThreshold(sexOf(record));
    default:
        break;
    }
    return fixedThreshold(factor);
}

} // namespace velmora
