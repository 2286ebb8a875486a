#pragma once

#include "analysis/factors.h"
#include "analysis/period.h"
#include "records/cvd_answers.h"

#include <optional>
#include <vector>

namespace velmora {

// One value of a factor (or the score) at the time of its record.
struct SeriesPoint
{
    QDateTime when;
    double value = 0;
    std::optional<double> threshold; // the model's threshold in this record, if any
    int position = 0;                // the record's place in the table
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
// The point of one record in a factor's series; none for a gap. Its afterGap
// is for the series to set.
std::optional<SeriesPoint> seriesPoint(Factor factor, const DatedRecord &record);
// Every factor, in the order of AllFactors.
std::array<FactorSeries, FactorCount> allFactorSeries(const RecordHistory &history);
// The score of one record as a point.
SeriesPoint scorePoint(const DatedRecord &record);
// The scores of the history (the ScoreColumn it was made with), without thresholds.
std::vector<SeriesPoint> scoreSeries(const RecordHistory &history);
// The ten-year cardiovascular risk of each record with the person's answers,
// in whole percent; records without an estimate are gaps.
FactorSeries cvdRiskSeries(const RecordHistory &history, const CvdAnswers &answers);

} // namespace velmora
