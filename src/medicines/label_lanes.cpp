#include "medicines/label_lanes.h"

#include <algorithm>
#include <numeric>

namespace velmora {

namespace {

struct Span
{
    double from, to;
};

class Lanes
{
public:
    Lanes(int count, double gap, std::span<const BlockedSpan> blocked)
        : m_taken(size_t(std::max(count, 0))), m_blocked(m_taken.size()), m_gap(gap)
    {
        for (const BlockedSpan &b : blocked)
            if (b.lane >= 0 && b.lane < count)
                m_blocked[size_t(b.lane)].push_back({b.from, b.to});
    }

    int count() const { return int(m_taken.size()); }

    bool isFree(int lane, Span text) const { return isClear(m_taken, lane, text) && isClear(m_blocked, lane, text); }
    // A line at x passing through the lanes below `lane` (behind a blocked span).
    bool lineIsFree(int lane, double x) const
    {
        for (int below = 0; below < lane; ++below)
            if (!isClear(m_taken, below, {x, x}))
                return false;
        return true;
    }
    void take(int lane, Span text, double x)
    {
        m_taken[size_t(lane)].push_back(text);
        for (int below = 0; below < lane; ++below)
            m_taken[size_t(below)].push_back({x, x});
    }

private:
    bool isClear(const std::vector<std::vector<Span>> &spans, int lane, Span span) const
    {
        return std::none_of(spans[size_t(lane)].begin(), spans[size_t(lane)].end(),
                            [&](const Span &s) { return span.from < s.to + m_gap && s.from < span.to + m_gap; });
    }

    std::vector<std::vector<Span>> m_taken;   // labels, and lines rising through
    std::vector<std::vector<Span>> m_blocked; // kept free of labels; a line may pass behind
    double m_gap;
};

} // namespace

LabelLanes layOutLabels(std::span<const LabelSpan> labels, double left, double right, double gap, int maxLanes,
                        std::span<const BlockedSpan> blocked)
{
    LabelLanes result;
    result.labels.resize(labels.size());
    std::vector<size_t> order(labels.size());
    std::iota(order.begin(), order.end(), size_t(0));
    // From the right: a text runs to the right of its line, over later lines,
    // which by then stand in the lanes they rise through; a crowd of lines
    // makes a staircase of labels rising to the left.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return labels[a].anchor > labels[b].anchor; });
    Lanes lanes(maxLanes, gap, blocked);
    for (size_t i : order) {
        const LabelSpan &label = labels[i];
        // After the line, pushed left at the right edge.
        const double start = std::max(left, std::min(label.anchor, right - label.width));
        const Span text{start, start + label.width};
        for (int lane = 0; lane < lanes.count(); ++lane) {
            if (!lanes.lineIsFree(lane, label.anchor))
                break; // a label below stands across this line: no higher lane is reachable
            if (lanes.isFree(lane, text)) {
                lanes.take(lane, text, label.anchor);
                result.labels[i] = {start, lane};
                result.lanes = std::max(result.lanes, lane + 1);
                break;
            }
        }
    }
    return result;
}

} // namespace velmora
