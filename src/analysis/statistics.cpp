#include "analysis/statistics.h"

#include <algorithm>

namespace velmora {

void FiguresBuilder::add(const SeriesPoint &point)
{
    Figures &f = m_figures;
    if (f.count == 0) {
        f.first = f.minimum = f.maximum = point.value;
        f.firstWhen = point.when;
    }
    ++f.count;
    f.latest = point.value;
    f.latestWhen = point.when;
    f.minimum = std::min(f.minimum, point.value);
    f.maximum = std::max(f.maximum, point.value);
    f.aboveThreshold += point.above ? 1 : 0;
    m_sum += point.value;
}

Figures FiguresBuilder::figures() const
{
    Figures f = m_figures;
    if (f.count > 0)
        f.mean = m_sum / f.count;
    return f;
}

Figures figuresOf(std::span<const SeriesPoint> points)
{
    FiguresBuilder builder;
    for (const SeriesPoint &p : points)
        builder.add(p);
    return builder.figures();
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
    std::array<FiguresBuilder, FactorCount> factors;
    FiguresBuilder score;
    for (const DatedRecord &r : history.records) {
        for (size_t i = 0; i < factors.size(); ++i)
            if (const std::optional<SeriesPoint> point = seriesPoint(AllFactors[i], r))
                factors[i].add(*point);
        score.add(scorePoint(r));
        ++s.bandCounts[size_t(riskBandOf(r.score))];
    }
    for (size_t i = 0; i < factors.size(); ++i)
        s.factors[i] = factors[i].figures();
    s.score = score.figures();
    return s;
}

} // namespace velmora
