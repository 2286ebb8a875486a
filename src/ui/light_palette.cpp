#include "ui/light_palette.h"

#include <QWidget>

namespace velmora {

QPalette lightPalette()
{
    // Built from the light green of the buttons: black text on white boxes,
    // greyed green for disabled controls.
    QPalette palette(QColor(192, 255, 192));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0, 120, 0));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::PlaceholderText, QColor(110, 120, 110));
        palette.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 220));
        palette.setColor(group, QPalette::ToolTipText, Qt::black);
    }
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(236, 244, 236));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(110, 120, 110));
    return palette;
}

void useLightPalette(QWidget *window)
{
    // Under a style sheet a control does not take its window's palette but
    // the application's, so each control is given it.
    const QPalette light = lightPalette();
    window->setPalette(light);
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const QPalette own = control->palette();
        control->setPalette(own.resolveMask() != 0 ? own.resolve(light) : light);
    }
}

} // namespace velmora
