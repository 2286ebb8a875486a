#pragma once

class QComboBox;
class QWidget;

namespace velmora {

// What a screen reader gets beyond names and descriptions.

// The window's labels offer their caption as text (a record label's date
// and time as its digits), as text boxes do; Qt's labels offer none.
void installLabelTexts();

// Names an editable drop-down's text box after the drop-down.
void nameDropDownTextBox(QComboBox &dropDown);
// The same, and its list; this makes the list, otherwise made on first use.
void nameDropDownParts(QComboBox &dropDown);

// A screen reader asks for the lists at once: as soon as one listens, every
// drop-down of the window gets its parts named.
void nameDropDownListsForScreenReaders(QWidget &window);

} // namespace velmora
