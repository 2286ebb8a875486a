#pragma once

// One value over time drawn against a dated axis: a factor with the model's
// threshold and the values above it marked, or the score with the risk lines;
// beside it, further series in marks of their own (the home blood pressure
// readings beside the check-ups), named in a legend.
// The factor window and the A4 report paint their charts with this one function.

#include "analysis/factor_series.h"
#include "readings/home_week.h"
#include "medicines/chart_marks.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QRectF>
#include <QString>

#include <span>
#include <vector>

class QPainter;

namespace velmora {

// A horizontal line drawn for reference, with its caption.
struct ChartGuide
{
    double value;
    QString caption;
    QColor colour;
};

enum class MarkShape { Circle, Triangle, Square, Diamond };

// One value of a further series.
struct ChartValue
{
    QDateTime when;
    double value = 0;
};

// Values drawn beside a chart's own points: filled marks of one colour and
// shape, no line, named in the chart's legend.
struct ChartSeries
{
    QString name;
    QColor colour;
    MarkShape shape = MarkShape::Circle;
    std::vector<ChartValue> values; // in any order
};

struct TimeChart
{
    QString title; // "血压/高（mmHg）"
    std::vector<SeriesPoint> points; // in time order; afterGap breaks the line
    bool drawsThresholds = false;    // the points' own thresholds, as a dashed line
    std::vector<ChartGuide> guides;
    // Drawn after the points; a chart with a series that has values shows a
    // legend naming the points (pointsName) and each such series.
    std::vector<ChartSeries> series;
    QString pointsName;

    bool hasLegend() const;
    std::vector<MedicineMark> medicines; // lines and ticks across the chart, labels above it
};

TimeChart factorTimeChart(const FactorSeries &series);
TimeChart scoreTimeChart(const RecordHistory &history);
// The ten-year cardiovascular risk in percent, with the bands' edges as guides in their colours.
TimeChart cvdRiskTimeChart(const RecordHistory &history, const CvdAnswers &answers);
// The score and the charted factors of a history, in the order they are shown;
// the pressure charts with the home readings given beside the check-ups.
std::vector<TimeChart> periodCharts(const RecordHistory &history, std::span<const BpReading> homeReadings = {});
// Adds the home readings to a chart of the systolic or diastolic pressure:
// morning, evening and other times as series of their own (those without a
// reading left out), and the home reference value (135 or 85 mmHg) as a guide.
void addHomeReadings(TimeChart &chart, Factor factor, std::span<const BpReading> readings,
                     const MonitoringWindows &windows = {});

// Every chart gets the medicine events of the days from `first` to `last` (a
// null day leaves that side open).
void addMedicines(std::vector<TimeChart> &charts, std::span<const MedicineEvent> events, const QDate &first,
                  const QDate &last);

// The days of the time axis, both included: from the start of the first to the end of the last.
struct TimeAxis
{
    QDate from, to;
};
// The axis of a history: its first to its latest record (or home reading),
// or the period's days where it names them.
TimeAxis timeAxisOf(const RecordHistory &history, const Period &period, std::span<const BpReading> homeReadings = {});

// The axis stretched, on the sides the period leaves open, to the medicine
// marks of the charts.
TimeAxis withMedicines(TimeAxis axis, const Period &period, const std::vector<TimeChart> &charts);

// How big things are drawn: the font of the texts and the device's pixels per millimetre.
struct ChartLook
{
    QFont font;
    double perMm = 4;
};

// Paints the chart into `area`: title, value axis, dated ticks, guides,
// thresholds, the line of values and the marks (red and filled above the threshold).
void paintTimeChart(QPainter &painter, const QRectF &area, const TimeChart &chart, const TimeAxis &axis,
                    const ChartLook &look);

} // namespace velmora
