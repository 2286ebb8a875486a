#pragma once

// The greens and reds of the reports and their charts, on paper and on screen.

#include <QColor>

namespace velmora::colours {

inline const QColor Ink(32, 40, 32);
inline const QColor Muted(96, 110, 96);
inline const QColor Brand(27, 94, 32);
inline const QColor Accent(46, 125, 50);
inline const QColor MarkedInk(210, 20, 20); // values above the model's thresholds
// The tables of the A4 pages.
inline const QColor HeaderFill(232, 245, 233);
inline const QColor StripeFill(246, 251, 246);
inline const QColor Rule(200, 224, 200);

} // namespace velmora::colours
