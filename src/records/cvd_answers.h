#pragma once

#include <optional>

namespace velmora {

// What a person said about themselves for the ten-year cardiovascular risk,
// which the records cannot tell: whether they smoke now (years of smoking do
// not tell a smoker from someone who stopped), whether they have diabetes
// (diagnosed or treated, or a fasting blood sugar of 7.0 mmol/L or more), and
// whether they already had a heart attack or a stroke. Nothing: not answered.
struct CvdAnswers
{
    std::optional<bool> smokes;
    std::optional<bool> diabetes;
    std::optional<bool> hadHeartAttackOrStroke;

    bool isComplete() const { return smokes && diabetes && hadHeartAttackOrStroke; }
    bool operator==(const CvdAnswers &) const = default;
};

} // namespace velmora
