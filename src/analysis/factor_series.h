#pragma once

#include "analysis/factors.h"
#include "analysis/period.h"

#include <optional>
#include <vector>

namespace velmora {

// One value of a factor (or the score) at the time of its record.
struct SeriesPoint
{
    QDateTime when;
    int position = 0; // the record's place in the table
    double value = 0;
    std::optional<double> threshold; // the model's threshold in this record, if any
    bool above = false;              // value > threshold
    bool afterGap = false;           // a record without a value stands between this point and the one before
};

// A factor over time: one point per record that has a value, in time order.
// Empty items and texts are gaps, never zeros.
struct FactorSeries
{
    Factor factor = Factor::Systolic;
    std::vector<SeriesPoint> points;
    int gaps = 0; // records of the history without a value
};

FactorSeries factorSeries(Factor factor, const RecordHistory &history);
// Every factor, in the order of AllFactors.
std::array<FactorSeries, FactorCount> allFactorSeries(const RecordHistory &history);
// The scores of the history (the ScoreColumn it was made with), without thresholds.
std::vector<SeriesPoint> scoreSeries(const RecordHistory &history);

} // namespace velmora
