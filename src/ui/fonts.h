#pragma once

namespace velmora {

// Maps the classic Chinese font names the window uses ("宋体") to an installed
// CJK face, and sets the window font.
void installFonts();

} // namespace velmora
