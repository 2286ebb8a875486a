#pragma once

#include <QPalette>

class QWidget;

namespace velmora {

// The colours of the two windows and their controls. Both windows paint their
// own light pictures, so their text and boxes keep these dark-on-light colours
// under any system palette (dark or high-contrast themes). Message boxes and
// dialogs are windows of their own and keep the system's colours.
QPalette lightPalette();

// Gives the window and every control in it the light palette, under the roles
// a control sets itself. Call it once the controls exist.
void useLightPalette(QWidget *window);

} // namespace velmora
