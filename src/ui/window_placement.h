#pragma once

#include <QPoint>
#include <QRect>

namespace velmora {

// Where a window meant to stand at `wanted` goes inside the screen's
// `available` area: where it was meant to when it fits; moved in by the least
// distance when it does not; and, when it is larger than the area, with its
// top-left corner at the area's, so that its top-left part is always visible.
QPoint placeInside(const QRect &wanted, const QRect &available);

} // namespace velmora
