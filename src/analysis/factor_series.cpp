#include "factor_series.h"

namespace velmora {

FactorSeries factorSeries(Factor factor, const RecordHistory &history)
{
    FactorSeries series;
    series.factor = factor;
    series.points.reserve(history.records.size());
    bool gapBefore = false;
    for (const DatedRecord &r : history.records) {
        const std::optional<double> value = factorValue(factor, *r.record);
        if (!value) {
            ++series.gaps;
            gapBefore = true;
            continue;
        }
        const std::optional<double> threshold = factorThreshold(factor, *r.record);
        series.points.push_back({r.when, r.position, *value, threshold, threshold && *value > *threshold, gapBefore});
        gapBefore = false;
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

std::vector<SeriesPoint> scoreSeries(const RecordHistory &history)
{
    std::vector<SeriesPoint> points;
    points.reserve(history.records.size());
    for (const DatedRecord &r : history.records)
        points.push_back({r.when, r.position, r.score, std::nullopt, false, false});
    return points;
}

} // namespace velmora
