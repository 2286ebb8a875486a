#pragma once

class QWidget;

namespace velmora {

// What a screen reader gets beyond names and descriptions.

// The window's labels offer their caption as text (a record label's date
// and time as its digits), as text boxes do; Qt's labels offer none.
void installLabelTexts();

// The list of an editable drop-down is made on first use, and a screen
// reader asks for it at once: as soon as one listens, every list in the
// window is made and named after its drop-down.
void nameDropDownListsForScreenReaders(QWidget &window);

} // namespace velmora
