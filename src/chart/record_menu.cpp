#include "chart/record_menu.h"

#include <algorithm>
#include <cmath>

namespace velmora {

double clampMarkerTop(double newTop)
{
    return std::clamp<double>(newTop, menu::MarkerTrackTop, menu::MarkerTrackBottom);
}

std::optional<int> menuOffsetForMarker(double top, int recordCount)
{
    if (recordCount <= 0)
        return std::nullopt;
    // Evaluated in this order with real divisions, then rounded down.
    return int(std::floor((top - menu::MarkerTrackTop) / twipsPerEntry(recordCount)));
}

} // namespace velmora
