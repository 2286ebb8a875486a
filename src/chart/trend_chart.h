#pragma once

#include <optional>
#include <span>
#include <vector>

namespace velmora {

enum class ChartStyle { Bars, Curve };

// One drawing call on the chart, in twips from the chart's top-left corner,
// y growing downwards, all in the drawing colour 255 (pure red).
struct ChartMark
{
    enum class Kind { Rectangle, Circle, Point, Line };
    Kind kind;
    float x1 = 0, y1 = 0; // rectangle corner, circle or point centre, line start
    float x2 = 0, y2 = 0; // opposite rectangle corner, line end
    float radius = 0;     // circles

    bool operator==(const ChartMark &) const = default;
};

namespace chart {
constexpr double Baseline = 6000;
constexpr double PlotWidth = 9000;
constexpr double BarLeft = 750;
constexpr double BarRight = 752;
constexpr double HighlightBarRight = 812;
constexpr double SmallestScore = 1;
// Scores above this are drawn at it: far above the top edge, where they are cut
// off like any score above 6000, yet within the range of every coordinate type.
constexpr double LargestDrawnScore = 1e6;
constexpr double PointRadius = 35;
constexpr double HighlightRadius = 65;
constexpr int DrawingColour = 255; // RGB 255, 0, 0
} // namespace chart

// The marks of the trend chart: the first `count` scores spread evenly over the
// plotting width (entry k at x = 1 + k * 9000 / count), as thin bars from the
// baseline or as circles joined into one polyline. Scores below 1 (and scores
// that are no number) are drawn at 1; marks above the area are cut off when
// painted.
// The highlighted entry is drawn enlarged. No entries, no marks.
std::vector<ChartMark> trendChartMarks(std::span<const double> scores, int count, ChartStyle style,
                                       std::optional<int> highlight = std::nullopt);

// The height a score is drawn at, clipped in double precision before any narrowing.
double drawnScore(double score);

// The x counter of entry k of n, and the chart x of its mark (bar right edge, point centre).
double entryX(int k, int count);
inline double markCentreX(int k, int count) { return chart::BarRight + entryX(k, count); }

} // namespace velmora
