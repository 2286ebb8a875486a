#pragma once

#include "analysis/factor_series.h"
#include "chart/risk_lines.h"

#include <array>
#include <span>

namespace velmora {

// The figures of one series over a period. Gaps are not counted; with no
// value at all `count` is 0 and the other figures mean nothing.
struct Figures
{
    int count = 0;
    double first = 0;  // the earliest value
    double latest = 0; // the latest value
    double mean = 0;
    double minimum = 0;
    double maximum = 0;
    QDateTime firstWhen, latestWhen;
    int aboveThreshold = 0; // values above the model's threshold of their record

    bool hasValues() const { return count > 0; }
    double change() const { return latest - first; } // first to latest
};

// Figures taken value by value, in time order.
class FiguresBuilder
{
public:
    void add(const SeriesPoint &point);
    Figures figures() const;

private:
    Figures m_figures;
    double m_sum = 0;
};

Figures figuresOf(std::span<const SeriesPoint> points);

// What a period holds: its records, each factor's figures and the scores'.
struct PeriodStatistics
{
    int recordCount = 0;
    QDateTime first, latest; // invalid without records
    int undated = 0;         // records left out of the history: no real date
    std::array<Figures, FactorCount> factors; // in the order of AllFactors
    Figures score;
    std::array<int, RiskBandCount> bandCounts{}; // records per risk band

    const Figures &operator[](Factor factor) const { return factors[size_t(factor)]; }
};

// The statistics of a history (usually inPeriod(...) of the whole table).
PeriodStatistics periodStatistics(const RecordHistory &history);

} // namespace velmora
