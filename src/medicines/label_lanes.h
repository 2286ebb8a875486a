#pragma once

// Where the labels of vertical lines go: in lanes, rows stacked above a
// plot (lane 0 just above it), so that no label covers another, a line, or
// a span kept free (a legend). Pure geometry on one axis: x grows to the
// right, in any unit.

#include <span>
#include <vector>

namespace velmora {

// A label to place: its line stands at `anchor`, its text is `width` wide.
struct LabelSpan
{
    double anchor = 0;
    double width = 0;
};

// A span of one lane that no label may cover (a legend, drawn over the lines
// that pass behind it).
struct BlockedSpan
{
    int lane = 0;
    double from = 0, to = 0;
};

struct PlacedLabel
{
    double left = 0; // where the text starts
    int lane = -1;   // -1: no lane has room for it (its line is drawn alone)

    bool shown() const { return lane >= 0; }
    bool operator==(const PlacedLabel &) const = default;
};

struct LabelLanes
{
    std::vector<PlacedLabel> labels; // in the order given
    int lanes = 0;                   // lanes used
};

// Places the labels, the rightmost line first: each in the lowest
// lane where it fits, its text starting at its line (or ending there, when
// that fits and starting does not), kept within [left, right] and `gap` away
// from every other label, blocked span and line. A line rises through the
// lanes below its label, so no label is put across it there.
LabelLanes layOutLabels(std::span<const LabelSpan> labels, double left, double right, double gap, int maxLanes,
                        std::span<const BlockedSpan> blocked = {});

} // namespace velmora
