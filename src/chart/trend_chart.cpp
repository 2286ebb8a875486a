#include "chart/trend_chart.h"

#include <algorithm>

namespace velmora {

double drawnScore(double score)
{
    if (!(score >= chart::SmallestScore)) // also NaN
        return chart::SmallestScore;
    return std::min(score, chart::LargestDrawnScore);
}

double entryX(int k, int count)
{
    return 1.0 + double(k) * (chart::PlotWidth / double(count));
}

std::vector<ChartMark> trendChartMarks(std::span<const double> scores, int count, ChartStyle style,
                                       std::optional<int> highlight)
{
    std::vector<ChartMark> marks;
    count = std::min<int>(count, int(scores.size()));
    if (count <= 0)
        return marks;
    marks.reserve(size_t(style == ChartStyle::Bars ? count : 3 * count));

    bool havePrevious = false;
    float previousX = 0, previousY = 0;
    for (int k = 0; k < count; ++k) {
        const double x = entryX(k, count);
        const double score = drawnScore(scores[size_t(k)]);
        const float top = float(chart::Baseline - score);
        const bool enlarged = highlight && *highlight == k;
        if (style == ChartStyle::Bars) {
            const double right = enlarged ? chart::HighlightBarRight : chart::BarRight;
            marks.push_back({ChartMark::Kind::Rectangle, float(chart::BarLeft + x), float(chart::Baseline),
                             float(right + x), top, 0});
            continue;
        }
        const float centreX = float(chart::BarRight + x);
        const float radius = float(enlarged ? chart::HighlightRadius : chart::PointRadius);
        marks.push_back({ChartMark::Kind::Circle, centreX, top, 0, 0, radius});
        marks.push_back({ChartMark::Kind::Point, centreX, top, 0, 0, 0});
        if (havePrevious)
            marks.push_back({ChartMark::Kind::Line, centreX, top, previousX, previousY, 0});
        havePrevious = true;
        previousX = centreX;
        previousY = top;
    }
    return marks;
}

} // namespace velmora
