#include "ui/controls.h"

#include "widgets/twips.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace velmora {

namespace {
QPointF twipsOf(const QMouseEvent *event)
{
    return event->position() * twips::PerPixel;
}
} // namespace

SongTiCombo::SongTiCombo(KeyFilter filter, QWidget *parent)
    : DialogCombo(parent)
{
    installKeyFilter(this, filter); // which makes the combo editable
    setFont(QFont(QStringLiteral("宋体"), 12));
}

void SongTiCombo::changeEvent(QEvent *event)
{
    // Without a list yet, its text box takes the font as any child does, and
    // the list takes it from the combo when it is made.
    if (event->type() == QEvent::FontChange && !findChild<QAbstractItemView *>()) {
        QWidget::changeEvent(event);
        return;
    }
    QComboBox::changeEvent(event);
}

void DialogCombo::keyPressEvent(QKeyEvent *event)
{
    QComboBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->ignore();
}

ClickableLabel::ClickableLabel(QWidget *parent)
    : QLabel(parent)
{
    setMouseTracking(true);
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    // Clicks are the left button's; the right one opens context menus.
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    const bool click = m_pressed && !m_inDoubleClick && rect().contains(event->position().toPoint());
    m_pressed = false;
    m_inDoubleClick = false;
    event->accept();
    if (click)
        emit clicked();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
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

void ClickableLabel::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        emit clicked();
        emit doubleClicked();
    } else if (enter || event->key() == Qt::Key_Space) {
        emit clicked();
    } else {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ClickableLabel::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    emit mouseMoved();
    update();
}

void ClickableLabel::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
}

void ClickableLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        QPen pen(palette().color(QPalette::WindowText));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
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
    setFocusPolicy(Qt::TabFocus);
}

void DragBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void DragBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_picture);
    if (hasFocus()) {
        painter.setPen(QPen(QColor(0, 90, 0), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void DragBox::keyPressEvent(QKeyEvent *event)
{
    constexpr double far = 100000;
    switch (event->key()) {
    case Qt::Key_Up: emit keyboardStep(-twips::PerPixel); break;
    case Qt::Key_Down: emit keyboardStep(twips::PerPixel); break;
    case Qt::Key_PageUp: emit keyboardStep(-20 * twips::PerPixel); break;
    case Qt::Key_PageDown: emit keyboardStep(20 * twips::PerPixel); break;
    case Qt::Key_Home: emit keyboardStep(-far); break;
    case Qt::Key_End: emit keyboardStep(far); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
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
