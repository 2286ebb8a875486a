#pragma once

#include "model/risk_model.h"

#include <array>
#include <optional>
#include <vector>

namespace velmora {

// The twelve terms of the score, in the order they are added.
enum class Term : int {
    Sex,
    Age,
    Weight,
    Triglycerides,
    Systolic,
    Diastolic,
    BloodSugar,
    Smoking,
    Drinking,
    Cholesterol,
    Waist,
    Heredity,
};
inline constexpr int TermCount = 12;

// How a term came to its points.
enum class TermState : quint8 {
    Counted,   // its rule applies: above its threshold, or a term without one (age > 0, years, "男"/"女", "有")
    NotAbove,  // at or below its threshold: 0 points
    RawValue,  // the item itself is added: a waist not above its threshold or without a sex, an age not positive
    NotListed, // a sex or heredity other than the texts the model knows ("无", empty, anything else): 0 points
    NoHeight,  // the weight term without a positive height: 0 points
    Text,      // a text where a number belongs: 0 points; outside the weight term the sum cannot be formed
};
// In the weight term, textItems tells whether the height or the weight was the text.

// One term of one record's score.
struct TermPoints
{
    Term term = Term::Sex;
    // The item it reads its value from (the weight for the weight term); its
    // column (records/record_columns.h) gives the term's title and unit.
    Field field = SexField;
    TermState state = TermState::NotListed;
    // The number the points come from: the item's value (0 when empty or a
    // text); for sex and heredity, which are texts, the multiplier (2 for
    // "男", 1 for "女" and for "有", 0 otherwise).
    double value = 0;
    // Above this the term counts: the fixed thresholds, the standard weight
    // (height - 105), the waist by sex. None for terms without one.
    std::optional<double> threshold;
    double coefficient = 0;
    double points = 0;
};

// Which pass scored the record: the store pass alone applies the diagnosis override.
enum class ScorePass { Display, Store };

enum class ScoreOutcome {
    Sum,        // the score is the sum of the terms
    Impossible, // a text made the sum impossible: the score is 0
    Diagnosis,  // the cholesterol item names a diagnosis and the store pass gave 5100 instead
};

// A record's score term by term, with the score exactly as RiskModel gives it.
// When a text makes the sum impossible, or the diagnosis replaces it, the
// other terms still carry the points they would give; only `score` is 0 or 5100.
struct ScoreBreakdown
{
    std::array<TermPoints, TermCount> terms; // in the order of addition
    ScoreOutcome outcome = ScoreOutcome::Sum;
    double score = 0;       // the RiskScore
    FieldSet textItems;    // numeric items that hold a text

    const TermPoints &operator[](Term term) const { return terms[size_t(term)]; }
    bool sumBlocked() const;
    // The items whose text made the sum impossible, in file order (the nine
    // laboratory, pressure, age, years and waist items; height and weight only
    // drop the weight term).
    std::vector<Field> blockingTexts() const;
    // The items whose values lie above the model's thresholds (weight over the
    // standard weight, laboratory values, pressures, waist by sex): the
    // terms that counted by their threshold.
    FieldSet aboveThreshold() const;
    // The terms by points, largest first; equal points in the order of addition.
    std::array<const TermPoints *, TermCount> largestFirst() const;
};

// The score of one record, explained. Its `score` is bit for bit
// RiskModel::ScoreRecord (Display) or RiskModel::scoreWithDiagnosis (Store).
// Its place against the risk lines: riskPlaceOf(score), chart/risk_lines.h.
ScoreBreakdown explainScore(const HealthRecord &record, const RiskCoefficients &coefficients = {},
                            ScorePass pass = ScorePass::Display);

// The sum of the terms' points, added in the model's order.
double sumOfTerms(const std::array<TermPoints, TermCount> &terms);

} // namespace velmora
