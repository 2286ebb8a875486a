#include "ui/green_style.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>

namespace velmora {

GreenStyle::GreenStyle(const Colours &colours)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), m_colours(colours)
{
}

GreenStyle *GreenStyle::mainWindow()
{
    static GreenStyle *style = new GreenStyle({QColor(192, 255, 192), QColor(214, 255, 214), QColor(160, 228, 160),
                                               QColor(104, 160, 104), QColor(0, 128, 0), QColor(0, 110, 0), 1});
    return style;
}

GreenStyle *GreenStyle::keypad()
{
    static GreenStyle *style = new GreenStyle({QColor(192, 255, 192), QColor(220, 255, 220), QColor(150, 220, 150),
                                               QColor(0, 100, 0), QColor(0, 100, 0), QColor(0, 80, 0), 2});
    return style;
}

void GreenStyle::applyTo(QWidget *window)
{
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        button->setStyle(this);
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, QColor(16, 48, 16));
        palette.setColor(QPalette::Button, m_colours.fill);
        palette.setColor(QPalette::Window, m_colours.fill);
        button->setPalette(palette);
        if (qobject_cast<QRadioButton *>(button))
            button->setAutoFillBackground(true);
    }
}

void GreenStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
{
    const bool pushButton = qobject_cast<const QPushButton *>(widget) != nullptr;
    if (element == PE_PanelButtonCommand && pushButton) {
        const bool down = option->state & (State_Sunken | State_On);
        const bool hover = option->state & State_MouseOver;
        const bool focus = option->state & State_HasFocus;
        const QColor fill = down ? m_colours.pressed : (hover ? m_colours.hover : m_colours.fill);
        const QColor edge = focus ? m_colours.focusEdge : (hover ? m_colours.hoverEdge : m_colours.edge);
        const int width = focus ? m_colours.focusWidth : 1;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(edge, width));
        painter->setBrush(fill);
        const qreal inset = width / 2.0;
        painter->drawRoundedRect(QRectF(option->rect).adjusted(inset, inset, -inset, -inset), 3, 3);
        painter->restore();
        return;
    }
    if (element == PE_FrameFocusRect && pushButton)
        return; // the edge shows the focus
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

} // namespace velmora
