#pragma once

#include "records/record_id.h"

#include <QString>

#include <optional>

namespace velmora {

// The column of twenty entry labels beside the chart and its scroll marker.
namespace menu {
constexpr int LabelCount = 20;
constexpr int LabelTops[LabelCount] = {360,  645,  945,  1230, 1515, 1815, 2100, 2385, 2685, 2970,
                                       3255, 3555, 3840, 4125, 4425, 4710, 4995, 5295, 5580, 5880};
constexpr int MarkerLeft = 12840;
constexpr int MarkerHomeTop = 360;
constexpr int MarkerTrackTop = 240;
constexpr int MarkerTrackBottom = 6040; // 240 + 5800
} // namespace menu

// Where a marker dragged to newTop stops: within the track.
double clampMarkerTop(double newTop);

// How far the marker travels for one entry: 3600 twips span the whole count.
// Only for a positive count.
inline double twipsPerEntry(int recordCount) { return 240.0 / (double(recordCount) / 15.0); }

// The table position shown by the first label when the marker's top is at
// `top`: 3600 twips of travel span the whole count of entries. Nothing when
// there are no entries (the division has no value).
std::optional<int> menuOffsetForMarker(double top, int recordCount);


} // namespace velmora
