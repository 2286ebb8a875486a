#include "ui/trend_chart_view.h"

#include "ui/pictures.h"
#include "widgets/twips.h"

#include <QPainter>
#include <QPaintEvent>

#include <cmath>

namespace velmora {

namespace {

const QColor MarkColour(255, 0, 0); // drawing colour 255

} // namespace

TrendChartView::TrendChartView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendChartView::setMarks(std::vector<ChartMark> marks)
{
    m_marks = std::move(marks);
    m_cache = QImage();
    update();
}

void TrendChartView::paintChart(QPainter &painter, QSize logicalSize, const QImage &templatePicture,
                                const std::vector<ChartMark> &marks)
{
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), logicalSize));
    painter.fillRect(QRect(QPoint(0, 0), logicalSize), QColor(233, 251, 233));
    painter.drawImage(QPointF(0, 0), templatePicture);

    // Marks are in twips.
    painter.scale(1.0 / twips::PerPixel, 1.0 / twips::PerPixel);
    QPen pen(MarkColour);
    pen.setCosmetic(true);
    pen.setWidthF(1.0);
    painter.setPen(pen);

    // Bars are drawn in whole device pixels: each covers the pixel columns its
    // edges fall in (at least one) from its top down to the baseline. Bars on
    // the same columns paint as their tallest, so a long history costs one
    // rectangle a column instead of one a record.
    const QTransform toDevice = painter.deviceTransform(); // twips to device pixels
    const qreal ratio = painter.device()->devicePixelRatioF();
    std::vector<QRect> bars;
    const auto addBar = [&](const QRectF &bar) {
        const QRectF device = toDevice.mapRect(bar);
        const int left = int(std::floor(device.left()));
        const int right = std::max(left, int(std::floor(device.right())));
        const int top = int(std::floor(device.top()));
        const int bottom = std::max(top, int(std::floor(device.bottom())));
        const QRect pixels(QPoint(left, top), QPoint(right, bottom));
        if (!bars.empty() && bars.back().left() == left && bars.back().right() == right
            && bars.back().bottom() == bottom) {
            bars.back().setTop(std::min(bars.back().top(), top));
            return;
        }
        bars.push_back(pixels);
    };
    std::vector<QLineF> lines;
    std::vector<QPointF> points;
    for (const ChartMark &mark : marks) {
        switch (mark.kind) {
        case ChartMark::Kind::Rectangle:
            addBar(QRectF(QPointF(mark.x1, mark.y1), QPointF(mark.x2, mark.y2)).normalized());
            break;
        case ChartMark::Kind::Line:
            lines.emplace_back(mark.x1, mark.y1, mark.x2, mark.y2);
            break;
        case ChartMark::Kind::Point:
            points.emplace_back(mark.x1, mark.y1);
            break;
        case ChartMark::Kind::Circle:
            break;
        }
    }
    // Filled with the drawing colour, so an enlarged bar reads as one block.
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio)); // whole device pixels
    painter.setPen(Qt::NoPen);
    painter.setBrush(MarkColour);
    painter.drawRects(bars.data(), int(bars.size()));
    painter.restore();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawLines(lines.data(), int(lines.size()));
    for (const ChartMark &mark : marks)
        if (mark.kind == ChartMark::Kind::Circle)
            painter.drawEllipse(QPointF(mark.x1, mark.y1), mark.radius, mark.radius);
    painter.drawPoints(points.data(), int(points.size()));
    painter.restore();
}

QImage TrendChartView::renderChart(qreal scale, const std::vector<ChartMark> &marks) const
{
    QImage image(size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    paintChart(painter, size(), loadPicture(QStringLiteral("chart_template"), scale), marks);
    return image;
}

void TrendChartView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_marks.empty()) {
        // Without marks the template is the picture.
        m_cache = QImage();
        paintPicture(painter, QStringLiteral("chart_template"), devicePixelRatioF(), event->rect());
        return;
    }
    const qreal dpr = devicePixelRatioF();
    if (m_cache.isNull() || m_cache.devicePixelRatio() != dpr || m_cache.size() != size() * dpr) {
        m_cache = QImage(size() * dpr, QImage::Format_RGB32);
        m_cache.setDevicePixelRatio(dpr);
        QPainter cachePainter(&m_cache);
        paintChart(cachePainter, size(), loadPicture(QStringLiteral("chart_template"), dpr), m_marks);
    }
    painter.drawImage(QPointF(0, 0), m_cache);
}

} // namespace velmora
