#include "reports/medicine_lines.h"

#include "medicines/label_lanes.h"

#include <QFontMetricsF>
#include <QPainter>

#include <array>

namespace velmora {

namespace {

// Apart from the values' greens, reds and the home readings' blue and purple.
const std::array<QColor, 6> MedicineColours = {QColor(0, 128, 128),  QColor(176, 96, 16),  QColor(196, 40, 128),
                                               QColor(96, 112, 16),  QColor(80, 96, 120),  QColor(150, 120, 0)};

QPen linePen(int medicine, double width, Qt::PenStyle style)
{
    QPen pen(medicineColour(medicine));
    pen.setWidthF(width);
    pen.setStyle(style);
    return pen;
}

} // namespace

QColor medicineColour(int medicine)
{
    return MedicineColours[size_t(medicine) % MedicineColours.size()];
}

MedicineLines::MedicineLines(const std::vector<MedicineMark> &marks,
                             const std::function<double(const QDateTime &)> &xOf, double left, double right,
                             const QFont &font, QPaintDevice *device, double laneHeight, int maxLanes)
    : m_font(font), m_laneHeight(laneHeight)
{
    for (const MedicineMark &mark : marks) {
        const double x = xOf(mark.when);
        if (x >= left - 0.5 && x <= right + 0.5)
            m_placed.push_back({&mark, x, QString(), 0, 0, -1});
    }
    const QFontMetricsF metrics(font, device);
    m_leftOut = layOut([](const MedicineMark &m) { return m.label; }, left, right, metrics, maxLanes);
    if (m_leftOut > 0) {
        // Numbers are short: they may take a third more lanes.
        m_numbered = true;
        m_leftOut = layOut([](const MedicineMark &m) { return m.change ? QString::number(m.change) : QString(); },
                           left, right, metrics, (maxLanes * 4 + 2) / 3);
    }
}

int MedicineLines::layOut(const std::function<QString(const MedicineMark &)> &labelOf, double left, double right,
                          const QFontMetricsF &metrics, int maxLanes)
{
    const double pad = metrics.averageCharWidth() * 0.6; // keeps a text off its line
    std::vector<LabelSpan> spans;
    for (Placed &p : m_placed) {
        p.label = labelOf(*p.mark);
        p.width = p.label.isEmpty() ? 0 : metrics.horizontalAdvance(p.label) + pad;
        p.lane = -1;
        if (p.width > 0)
            spans.push_back({p.x, p.width});
    }
    const LabelLanes lanes = layOutLabels(spans, left, right, pad, maxLanes);
    int leftOut = 0;
    size_t next = 0;
    for (Placed &p : m_placed) {
        if (p.width <= 0)
            continue;
        const PlacedLabel &placed = lanes.labels[next++];
        p.left = placed.left;
        p.lane = placed.lane;
        leftOut += placed.shown() ? 0 : 1;
    }
    m_lanes = lanes.lanes;
    return leftOut;
}

void MedicineLines::paintLines(QPainter &painter, const QRectF &plot, double penWidth) const
{
    painter.save();
    for (const Placed &p : m_placed) {
        if (p.mark->action == MedicineAction::Single) {
            // A tick standing on the time axis.
            painter.setPen(linePen(p.mark->medicine, penWidth * 2, Qt::SolidLine));
            painter.drawLine(QPointF(p.x, plot.bottom()), QPointF(p.x, plot.bottom() - m_laneHeight * 0.6));
        } else {
            painter.setPen(linePen(p.mark->medicine, penWidth, Qt::DashLine));
            painter.drawLine(QPointF(p.x, plot.bottom()), QPointF(p.x, plot.top()));
        }
    }
    painter.restore();
}

void MedicineLines::paintLabels(QPainter &painter, const QRectF &plot, double penWidth) const
{
    painter.save();
    painter.setFont(m_font);
    for (const Placed &p : m_placed) {
        if (p.lane < 0)
            continue;
        // The line rises to its lane; the label stands on it, starting or ending at the line.
        const double bottom = plot.top() - m_laneHeight * p.lane;
        if (p.lane > 0) {
            painter.setPen(linePen(p.mark->medicine, penWidth, Qt::DashLine));
            painter.drawLine(QPointF(p.x, plot.top()), QPointF(p.x, bottom));
        }
        painter.setPen(medicineColour(p.mark->medicine));
        painter.drawText(QRectF(p.left, bottom - m_laneHeight, p.width, m_laneHeight), Qt::AlignCenter, p.label);
    }
    painter.restore();
}

} // namespace velmora
