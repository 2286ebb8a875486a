#pragma once

#include "chart/trend_chart.h"

#include <QImage>
#include <QWidget>

#include <vector>

namespace velmora {

// The chart area: the chart template picture with the marks of the last
// redraw painted over it in red, clipped to the area. The painted chart is
// cached, so pointer moves and repaints cost nothing however many marks; the
// template itself is only read while the cache is made.
class TrendChartView : public QWidget
{
    Q_OBJECT
public:
    explicit TrendChartView(QWidget *parent = nullptr);

    void setMarks(std::vector<ChartMark> marks);
    void clearMarks() { setMarks({}); }
    const std::vector<ChartMark> &marks() const { return m_marks; }

    // The chart as shown (template and marks) at the given scale, for export.
    QImage renderChart(qreal scale) const { return renderChart(scale, m_marks); }
    // The chart area with other marks (the records of a period), at the given scale.
    QImage renderChart(qreal scale, const std::vector<ChartMark> &marks) const;

    // Paints template and marks with the painter's origin at the chart's corner.
    static void paintChart(QPainter &painter, QSize logicalSize, const QImage &templatePicture,
                           const std::vector<ChartMark> &marks);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<ChartMark> m_marks;
    QImage m_cache;
};

} // namespace velmora
