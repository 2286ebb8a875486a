// The chart redraw, the column of entries, the marker and the window drag.

#include "form1.h"

#include "chart/record_menu.h"
#include "controls.h"
#include "messages.h"
#include "records/user_name.h"
#include "trend_chart_view.h"
#include "twips.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QRadioButton>
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

void Form1::DrawTrendChart(std::optional<int> highlight)
{
    m_picture1->clearMarks();
    // A redraw lists the column from position 0 again, so label j means position j.
    m_menuOffset = 0;
    ShowRecordColumn(0);
    const ChartStyle style = m_option1->isChecked() ? ChartStyle::Bars : ChartStyle::Curve;
    m_picture1->setMarks(trendChartMarks(m_scores, m_recordCount, style, highlight));
    moveMarkerHome();
}

void Form1::ShowRecordColumn(int start)
{
    for (int j = 0; j < menu::LabelCount; ++j) {
        const int position = start + j;
        if (m_table.contains(position)) // past the table a label keeps its caption
            m_label4[size_t(j)]->setText(m_table[position][RecordIdField].displayText());
    }
}

void Form1::clearRecordMenu()
{
    for (ClickableLabel *label : m_label4)
        label->clear();
}

void Form1::moveMarkerTo(double top)
{
    m_markerTop = top;
    m_picture2->move(twips::toPixels(menu::MarkerLeft), twips::toPixels(top));
}

void Form1::moveMarkerHome()
{
    moveMarkerTo(menu::MarkerHomeTop);
}

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

void Form1::showSelectedCaptions(int position)
{
    const QString recordId = m_table.contains(position) ? m_table[position][RecordIdField].displayText() : QString();
    m_label7->setText(recordId);
    if (!recordId.isEmpty())
        m_label1->setText(recordDateCaption(recordId));
}

void Form1::doubleClickLabel(int index)
{
    if (m_combo2->currentText().isEmpty()) {
        m_messages.inform(messages::NameEmpty);
        return;
    }
    setCurrentUser(m_combo2->currentText().trimmed());
    const QString user = m_state.CurrentUser;
    if (refuseUnsafeName(user))
        return;
    // Without a file there is nothing to read or show.
    if (!m_folder.RecordFileExists(user))
        return;
    m_picture1->clearMarks();
    if (!readTableFor(user, false))
        return;
    const int p = m_menuOffset + index;
    DrawTrendChart(p);
    m_selectedRecord = p;
    showSelectedCaptions(p);
    fillEntryFields(p);
    if (m_label1->text().isEmpty())
        m_selectedRecord = -1;
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
    dragMarkerTo(position.y() - m_dragAnchorY + m_markerTop);
}

void Form1::dragMarkerTo(double newTop)
{
    newTop = clampMarkerTop(newTop);
    moveMarkerTo(newTop);
    m_menuOffset = menuOffsetForMarker(newTop, m_recordCount).value_or(0);
    ShowRecordColumn(m_menuOffset);
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
    if (notches != 0)
        scrollColumn(-notches); // turned away from the user: back to earlier entries
}

void Form1::scrollColumn(int entries)
{
    if (m_recordCount <= 0)
        return;
    // The marker's travel for one entry, as the drag's offset arithmetic counts it.
    const double twipsPerEntry = 240.0 / (m_recordCount / 15.0);
    dragMarkerTo(m_markerTop + entries * twipsPerEntry);
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    m_dragActive = 1;
    m_dragAnchorX = twips::fromPixels(event->position().x());
    m_dragAnchorY = twips::fromPixels(event->position().y());
    event->accept();
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    resetLabelColours();
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
