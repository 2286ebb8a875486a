#include "controls.h"

#include "twips.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora {

namespace {
QPointF twipsOf(const QMouseEvent *event)
{
    return event->position() * twips::PerPixel;
}
} // namespace

ClickableLabel::ClickableLabel(QWidget *parent)
    : QLabel(parent)
{
    setMouseTracking(true);
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && !m_inDoubleClick && rect().contains(event->position().toPoint());
    m_pressed = false;
    m_inDoubleClick = false;
    event->accept();
    if (click)
        emit clicked();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click: its release is no second click.
    m_pressed = true;
    m_inDoubleClick = true;
    event->accept();
    emit doubleClicked();
}

void ClickableLabel::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseMoved();
}

MouseArea::MouseArea(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

void MouseArea::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseMoved();
}

void MouseArea::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

DragBox::DragBox(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

void DragBox::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void DragBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(QPointF(0, 0), m_picture);
}

void DragBox::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit buttonDown(twipsOf(event));
}

void DragBox::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit moved(twipsOf(event));
}

void DragBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    emit buttonUp(twipsOf(event));
}

} // namespace velmora
