// The chart redraw, the column of entries, the marker and the window drag.

#include "ui/form1.h"

#include "ui/controls.h"
#include "widgets/twips.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QWheelEvent>

namespace velmora {

namespace {
const QColor HighlightColour(192, 0, 0);

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    if (palette.color(QPalette::WindowText) == colour)
        return;
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
} // namespace

void Form1::hoverLabel(int index)
{
    const QColor normal = palette().color(QPalette::ButtonText);
    for (int j = 0; j < menu::LabelCount; ++j) {
        ClickableLabel *label = m_label4[size_t(j)];
        if (j != index)
            setTextColour(label, normal);
        else if (!label->text().isEmpty())
            setTextColour(label, HighlightColour);
    }
}

void Form1::resetLabelColours()
{
    const QColor normal = palette().color(QPalette::ButtonText);
    for (ClickableLabel *label : m_label4)
        setTextColour(label, normal);
}

void Form1::doubleClickLabel(int index)
{
    applyOutcome(m_diary.doubleClickRecord(index, m_combo2->currentText(), chartStyle()));
}

void Form1::markerButtonDown(QPointF position)
{
    m_dragActive = 1;
    m_dragAnchorX = position.x();
    m_dragAnchorY = position.y();
}

void Form1::markerMoved(QPointF position)
{
    if (m_dragActive != 1)
        return;
    // Sideways movement is ignored: the marker runs in its track.
    m_diary.dragMarkerTo(position.y() - m_dragAnchorY + m_diary.markerTop());
    showDiary();
}

void Form1::markerButtonUp()
{
    m_dragActive = 0;
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // Over the column's labels, the column or its marker the wheel scrolls the column.
    if (event->type() == QEvent::Wheel) {
        turnWheel(*static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::turnWheel(const QWheelEvent &event)
{
    // One entry a notch; finer wheels add up to whole notches.
    m_wheelAngle += event.angleDelta().y();
    const int notches = m_wheelAngle / QWheelEvent::DefaultDeltasPerStep;
    m_wheelAngle -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0) {
        m_diary.scrollColumn(-notches); // turned away from the user: back to earlier entries
        showDiary();
    }
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    // Only the left button drags: the right one's release goes to the menu it opens.
    if (event->button() == Qt::LeftButton) {
        m_dragActive = 1;
        m_dragAnchorX = twips::fromPixels(event->position().x());
        m_dragAnchorY = twips::fromPixels(event->position().y());
    }
    event->accept();
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    resetLabelColours();
    // A release the window never saw (a menu, a dialog, a grab taken away) ends the drag too.
    if (!(event->buttons() & Qt::LeftButton))
        m_dragActive = 0;
    if (m_dragActive == 1) {
        const double dx = twips::fromPixels(event->position().x()) - m_dragAnchorX;
        const double dy = twips::fromPixels(event->position().y()) - m_dragAnchorY;
        move(pos() + QPoint(twips::toPixels(dx), twips::toPixels(dy)));
    }
    event->accept();
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragActive = 0;
    event->accept();
}

} // namespace velmora
