#pragma once

// Which record a point of the chart shows, and what its tooltip says.

#include "chart/trend_chart.h"

#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora {

// The position of the entry whose mark is nearest to a point of the chart
// (twips from the chart's corner), if one lies within `tolerance` twips of it:
// a bar's rectangle or a circle's disc. Bars and circles are counted in
// order, entry 0 first; lines and points belong to the circles.
std::optional<int> entryAtChartPoint(const std::vector<ChartMark> &marks, QPointF twips, double tolerance);

// The number of entries the marks show.
int chartEntryCount(const std::vector<ChartMark> &marks);

// The record's date and time ("2009年06月20日21时01分29秒"; an id that is not
// a date stands as it is), then the lines of its score explained.
QString recordToolTip(const QString &recordId, const QStringList &explanation);

} // namespace velmora
