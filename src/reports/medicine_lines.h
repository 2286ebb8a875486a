#pragma once

// The medicine diary on a time chart: every 开始, 调整 and 停用 a thin dashed
// vertical line across the plot in the medicine's colour, labelled with name
// and dose in lanes above the plot (medicines/label_lanes.h: no label over
// another, over a line, or over the legend, which stands above the lanes);
// every 单次 a small tick on the time axis.

#include "medicines/chart_marks.h"

#include <QColor>
#include <QFont>
#include <QRectF>

#include <functional>
#include <vector>

class QPainter;
class QFontMetricsF;
class QPaintDevice;

namespace velmora {

// The colour of the medicine of that number (by its first event in the diary).
QColor medicineColour(int medicine);

class MedicineLines
{
public:
    // Lays the labels out in the font given for a plot running from `left`
    // to `right`, where `xOf` places a time, in at most `maxLanes` lanes of
    // `laneHeight`. When the labels do not all fit, the changes' numbers
    // stand in for them (numbered as the lists of the changes number them),
    // in up to a third more lanes.
    MedicineLines(const std::vector<MedicineMark> &marks, const std::function<double(const QDateTime &)> &xOf,
                  double left, double right, const QFont &font, QPaintDevice *device, double laneHeight, int maxLanes);

    // The height the lanes take above the plot; 0 without labels.
    double height() const { return m_laneHeight * m_lanes; }
    // The lines and ticks within the plot (drawn behind the values).
    void paintLines(QPainter &painter, const QRectF &plot, double penWidth) const;
    // The labels in their lanes above the plot and their lines rising to them.
    void paintLabels(QPainter &painter, const QRectF &plot, double penWidth) const;
    // How many labels found no room (their lines are drawn all the same).
    int leftOut() const { return m_leftOut; }
    // The labels are the changes' numbers.
    bool numbered() const { return m_numbered; }

private:
    struct Placed
    {
        const MedicineMark *mark;
        double x;
        QString label;
        double left = 0; // of the label's text
        double width = 0;
        int lane = -1;   // -1: a tick (单次) or a label left out
    };

    // Lays out the labels `labelOf` gives; the number left out.
    int layOut(const std::function<QString(const MedicineMark &)> &labelOf, double left, double right,
               const QFontMetricsF &metrics, int maxLanes);

    std::vector<Placed> m_placed;
    QFont m_font;
    double m_laneHeight;
    int m_lanes = 0;
    int m_leftOut = 0;
    bool m_numbered = false;
};

} // namespace velmora
