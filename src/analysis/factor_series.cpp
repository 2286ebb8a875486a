#include "analysis/factor_series.h"

#include "model/cvd_estimate.h"

#include <utility>

namespace velmora {

std::optional<SeriesPoint> seriesPoint(Factor factor, const DatedRecord &r)
{
    const std::optional<double> value = factorValue(factor, *r.record);
    if (!value)
        return std::nullopt;
    const std::optional<double> threshold = factorThreshold(factor, *r.record);
    return SeriesPoint{r.when, *value, threshold, r.position, threshold && *value > *threshold, false};
}

FactorSeries factorSeries(Factor factor, const RecordHistory &history)
{
    FactorSeries series;
    series.factor = factor;
    series.points.reserve(history.records.size());
    bool gapBefore = false;
    for (const DatedRecord &r : history.records) {
        std::optional<SeriesPoint> point = seriesPoint(factor, r);
        if (!point) {
            ++series.gaps;
            gapBefore = true;
            continue;
        }
        point->afterGap = std::exchange(gapBefore, false);
        series.points.push_back(std::move(*point));
    }
    return series;
}

std::array<FactorSeries, FactorCount> allFactorSeries(const RecordHistory &history)
{
    std::array<FactorSeries, FactorCount> all;
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = factorSeries(AllFactors[i], history);
    return all;
}

SeriesPoint scorePoint(const DatedRecord &r)
{
    return {r.when, r.score, std::nullopt, r.position, false, false};
}

std::vector<SeriesPoint> scoreSeries(const RecordHistory &history)
{
    std::vector<SeriesPoint> points;
    points.reserve(history.records.size());
    for (const DatedRecord &r : history.records)
        points.push_back(scorePoint(r));
    return points;
}

FactorSeries cvdRiskSeries(const RecordHistory &history, const CvdAnswers &answers)
{
    FactorSeries series;
    bool gapBefore = false;
    for (const DatedRecord &r : history.records) {
        const CvdEstimate estimate = estimateCvdRisk(*r.record, answers);
        if (!estimate.isEstimate()) {
            ++series.gaps;
            gapBefore = true;
            continue;
        }
        SeriesPoint point;
        point.when = r.when;
        point.value = estimate.percent;
        point.position = r.position;
        point.afterGap = std::exchange(gapBefore, false);
        series.points.push_back(point);
    }
    return series;
}

} // namespace velmora
