#pragma once

#include <QColor>
#include <QProxyStyle>

namespace velmora {

// The look of the program's buttons: rounded light green buttons in the
// graphical style of the window design, lighter under the pointer, darker
// when pressed, with a dark green edge when they have the focus. Option
// buttons get the same light green ground. It replaces a style sheet, which
// would cost start-up time and memory and would reach the message boxes too.
class GreenStyle : public QProxyStyle
{
public:
    struct Colours
    {
        QColor fill, hover, pressed, edge, hoverEdge, focusEdge;
        int focusWidth = 1;
    };

    explicit GreenStyle(const Colours &colours);

    // The style of the main window's buttons, and of the keypad's keys.
    static GreenStyle *mainWindow();
    static GreenStyle *keypad();

    // Gives every push and option button inside `window` this style.
    void applyTo(QWidget *window);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;

private:
    Colours m_colours;
};

} // namespace velmora
