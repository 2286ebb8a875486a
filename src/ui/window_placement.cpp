#include "ui/window_placement.h"

#include <algorithm>

namespace velmora {

namespace {
// One axis: the start of a span of `length` meant to begin at `wanted`, inside [first, first + room).
int placeSpan(int wanted, int length, int first, int room)
{
    const int last = first + room - length; // the last start at which the span still fits
    return std::max(first, std::min(wanted, last));
}
} // namespace

QPoint placeInside(const QRect &wanted, const QRect &available)
{
    return {placeSpan(wanted.x(), wanted.width(), available.x(), available.width()),
            placeSpan(wanted.y(), wanted.height(), available.y(), available.height())};
}

} // namespace velmora
