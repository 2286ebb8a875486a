#pragma once

namespace velmora {

// Installs Qt's own texts in Simplified Chinese (message-box buttons, the
// context menus of text boxes, the save and print dialogs): the copy built
// into the program, or else the one installed with Qt. False when neither
// could be loaded; Qt's texts then stay in English. Dates and numbers in
// those dialogs follow the Chinese locale either way.
bool installQtTranslation();

} // namespace velmora
