#include "statistics.h"

#include <algorithm>

namespace velmora {

Figures figuresOf(std::span<const SeriesPoint> points)
{
    Figures f;
    if (points.empty())
        return f;
    f.count = int(points.size());
    f.first = points.front().value;
    f.firstWhen = points.front().when;
    f.latest = points.back().value;
    f.latestWhen = points.back().when;
    f.minimum = f.maximum = f.first;
    double sum = 0;
    for (const SeriesPoint &p : points) {
        sum += p.value;
        f.minimum = std::min(f.minimum, p.value);
        f.maximum = std::max(f.maximum, p.value);
        f.aboveThreshold += p.above ? 1 : 0;
    }
    f.mean = sum / f.count;
    return f;
}

PeriodStatistics periodStatistics(const RecordHistory &history)
{
    PeriodStatistics s;
    s.recordCount = int(history.records.size());
    s.undated = history.undated;
    if (!history.records.empty()) {
        s.first = history.records.front().when;
        s.latest = history.records.back().when;
    }
    for (size_t i = 0; i < s.factors.size(); ++i)
        s.factors[i] = figuresOf(factorSeries(AllFactors[i], history).points);
    s.score = figuresOf(scoreSeries(history));
    for (const DatedRecord &r : history.records)
        ++s.bandCounts[size_t(riskBandOf(r.score))];
    return s;
}

} // namespace velmora
