#include "reports/time_chart.h"

#include "analysis/statistics_sheet.h"
#include "chart/risk_lines.h"
#include "model/cvd_risk.h"
#include "model/risk_model.h"
#include "readings/home_week_sheet.h"
#include "reports/medicine_lines.h"
#include "reports/report_colours.h"

#include <QFontMetricsF>

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora {

namespace {

const QColor &AxisInk = colours::Muted;
const QColor &LineColour = colours::Accent;
const QColor &AboveColour = colours::MarkedInk;
const QColor GridColour(226, 236, 226);
const QColor ThresholdColour(214, 120, 0);
const QColor GuideColour(120, 120, 160);
const std::array<QColor, 4> RiskLineColours = {QColor(60, 160, 60), QColor(200, 170, 0), QColor(230, 120, 0),
                                               QColor(210, 30, 30)};

// A step of the value axis of 1, 2 or 5 times a power of ten giving about `ticks` ticks.
double niceStep(double span, int ticks)
{
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10 * power;
}

struct ValueRange
{
    double low, high;
};

ValueRange valueRange(const TimeChart &chart)
{
    double low = std::numeric_limits<double>::max(), high = std::numeric_limits<double>::lowest();
    const auto include = [&](double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    };
    for (const SeriesPoint &p : chart.points) {
        include(p.value);
        if (chart.drawsThresholds && p.threshold)
            include(*p.threshold);
    }
    for (const ChartSeries &series : chart.series)
        for (const ChartValue &v : series.values)
            include(v.value);
    const bool hasValues = low <= high;
    for (const ChartGuide &g : chart.guides)
        if (hasValues && g.value >= low - (high - low) && g.value <= high + (high - low) + 1)
            include(g.value);
    if (low > high)
        return {0, 1};
    const double pad = high > low ? (high - low) * 0.08 : std::max(std::abs(high) * 0.1, 1.0);
    return {low - pad, high + pad};
}

// Dated ticks: days, weeks, months or years, the finest whose captions fit
// the axis. Months and years are ticked at their first day.
struct DateTicks
{
    std::vector<QDate> days;
    QString format;
};

struct TickStep
{
    int days;   // or
    int months; // one of the two is 0
    const char *format;
    double captionMm; // the room a caption takes
};

constexpr std::array<TickStep, 12> TickSteps = {{
    {1, 0, "MM-dd", 11},    {2, 0, "MM-dd", 11},    {7, 0, "MM-dd", 11},    {14, 0, "MM-dd", 11},
    {0, 1, "yyyy-MM", 14},  {0, 2, "yyyy-MM", 14},  {0, 3, "yyyy-MM", 14},  {0, 6, "yyyy-MM", 14},
    {0, 12, "yyyy", 9},     {0, 24, "yyyy", 9},     {0, 60, "yyyy", 9},     {0, 120, "yyyy", 9},
}};

std::vector<QDate> ticksOf(const TickStep &step, QDate from, QDate to)
{
    std::vector<QDate> days;
    QDate d = from;
    if (step.months > 0) {
        d = QDate(from.year() - from.year() % std::max(1, step.months / 12), 1, 1);
        while (d < from)
            d = d.addMonths(step.months);
    }
    for (; d <= to && days.size() < 400; d = step.months > 0 ? d.addMonths(step.months) : d.addDays(step.days))
        days.push_back(d);
    return days;
}

DateTicks dateTicks(QDate from, QDate to, double axisMm)
{
    for (const TickStep &step : TickSteps) {
        std::vector<QDate> days = ticksOf(step, from, to);
        if (double(days.size()) * step.captionMm <= axisMm)
            return {std::move(days), QString::fromLatin1(step.format)};
    }
    return {{from}, QStringLiteral("yyyy")};
}

// Seconds of the wall clock from a fixed day: calendar arithmetic only, so
// that placing thousands of points asks nothing of the time zone.
double wallSeconds(QDate day, QTime time = QTime(0, 0))
{
    return double(day.toJulianDay()) * 86400.0 + time.msecsSinceStartOfDay() / 1000.0;
}
double wallSeconds(const QDateTime &when)
{
    return wallSeconds(when.date(), when.time());
}

// A filled mark of a shape, about `radius` from its centre to its edge.
void drawMark(QPainter &painter, MarkShape shape, QPointF at, double radius)
{
    switch (shape) {
    case MarkShape::Circle:
        painter.drawEllipse(at, radius, radius);
        break;
    case MarkShape::Square:
        painter.drawRect(QRectF(at.x() - radius * 0.85, at.y() - radius * 0.85, radius * 1.7, radius * 1.7));
        break;
    case MarkShape::Triangle: {
        const double r = radius * 1.2;
        const QPointF corners[] = {at + QPointF(0, -r), at + QPointF(r * 0.87, r * 0.5), at + QPointF(-r * 0.87, r * 0.5)};
        painter.drawPolygon(corners, 3);
        break;
    }
    case MarkShape::Diamond: {
        const double r = radius * 1.15;
        const QPointF corners[] = {at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r), at + QPointF(-r, 0)};
        painter.drawPolygon(corners, 4);
        break;
    }
    }
}

constexpr double LegendRow = 3.2; // millimetres
constexpr double MedicineLane = 2.8; // millimetres

class ChartPainter
{
public:
    ChartPainter(QPainter &painter, const QRectF &area, const TimeAxis &axis, const ChartLook &look)
        : m_painter(painter), m_area(area), m_axis(axis), m_look(look), m_from(wallSeconds(axis.from)),
          m_span(wallSeconds(axis.to.addDays(1)) - m_from)
    {
    }

    void paint(const TimeChart &chart)
    {
        const QFont title = font(7.5, true);
        const double titleHeight = mm(5);
        const QFont legendFont = font(5.5);
        const std::vector<LegendEntry> legend = chart.hasLegend() ? legendEntries(chart, legendFont)
                                                                  : std::vector<LegendEntry>();
        const double legendHeight = legend.empty() ? 0 : legend.back().at.y() + mm(LegendRow) / 2;
        m_plot = m_area.adjusted(mm(12), titleHeight + legendHeight, -mm(2), -mm(5));
        // The medicines' labels take lanes above the plot, at most a quarter of the chart's height.
        const MedicineLines medicines(chart.medicines, [this](const QDateTime &when) { return xOf(when); },
                                      m_plot.left(), m_plot.right(), font(5.5), m_painter.device(), mm(MedicineLane),
                                      std::max(1, int(m_area.height() / 4 / mm(MedicineLane))));
        m_plot.setTop(m_plot.top() + medicines.height());
        if (medicines.numbered() || medicines.leftOut() > 0)
            text(QRectF(m_area.left(), m_area.top(), m_area.width(), titleHeight), font(5.5), AxisInk,
                 Qt::AlignRight | Qt::AlignVCenter,
                 medicines.leftOut() > 0 ? QStringLiteral("数字：用药变化的编号，另有 %1 处未标注").arg(medicines.leftOut())
                                         : QStringLiteral("数字：用药变化的编号"));
        text(QRectF(m_area.left(), m_area.top(), m_area.width(), titleHeight), title, colours::Brand,
             Qt::AlignLeft | Qt::AlignVCenter, chart.title);
        paintLegend(legend, legendFont, m_area.topLeft() + QPointF(0, titleHeight));
        m_range = valueRange(chart);
        paintValueAxis();
        paintTimeAxis();
        m_painter.save();
        m_painter.setClipRect(m_plot);
        for (const ChartGuide &g : chart.guides)
            paintGuide(g);
        if (chart.drawsThresholds)
            paintThresholds(chart.points);
        medicines.paintLines(m_painter, m_plot, mm(0.2));
        paintValues(chart.points);
        for (const ChartSeries &series : chart.series)
            paintSeries(series);
        m_painter.restore();
        medicines.paintLabels(m_painter, m_plot, mm(0.2));
        if (chart.points.empty() && std::all_of(chart.series.begin(), chart.series.end(),
                                                [](const ChartSeries &series) { return series.values.empty(); }))
            text(m_plot, font(7), AxisInk, Qt::AlignCenter, QStringLiteral("该时段内没有数值"));
    }

private:
    double mm(double millimetres) const { return millimetres * m_look.perMm; }
    QFont font(double points, bool bold = false) const
    {
        QFont f = m_look.font;
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }
    void text(const QRectF &rect, const QFont &f, const QColor &colour, int flags, const QString &s)
    {
        m_painter.setFont(f);
        m_painter.setPen(colour);
        m_painter.drawText(rect, flags, s);
    }
    QPen pen(const QColor &colour, double widthMm, Qt::PenStyle style = Qt::SolidLine) const
    {
        QPen p(colour);
        p.setWidthF(mm(widthMm));
        p.setStyle(style);
        return p;
    }

    double xOf(double seconds) const { return m_plot.left() + m_plot.width() * (seconds - m_from) / m_span; }
    double xOf(const QDateTime &when) const { return xOf(wallSeconds(when)); }
    double yOf(double value) const
    {
        return m_plot.bottom() - m_plot.height() * (value - m_range.low) / (m_range.high - m_range.low);
    }

    void paintValueAxis()
    {
        const double step = niceStep(m_range.high - m_range.low, 4);
        const QFont f = font(6);
        for (double v = std::ceil(m_range.low / step) * step; v <= m_range.high; v += step) {
            const double y = yOf(v);
            m_painter.setPen(pen(GridColour, 0.15));
            m_painter.drawLine(QPointF(m_plot.left(), y), QPointF(m_plot.right(), y));
            text(QRectF(m_area.left(), y - mm(2), mm(11), mm(4)), f, AxisInk, Qt::AlignRight | Qt::AlignVCenter,
                 scoreText(std::abs(v) < step / 1000 ? 0 : v));
        }
        m_painter.setPen(pen(AxisInk, 0.2));
        m_painter.drawLine(m_plot.bottomLeft(), m_plot.bottomRight());
        m_painter.drawLine(m_plot.bottomLeft(), m_plot.topLeft());
    }

    void paintTimeAxis()
    {
        const DateTicks ticks = dateTicks(m_axis.from, m_axis.to, m_plot.width() / m_look.perMm);
        const QFont f = font(6);
        for (QDate day : ticks.days) {
            const double x = xOf(wallSeconds(day));
            if (x < m_plot.left() - 0.5 || x > m_plot.right() + 0.5)
                continue;
            m_painter.setPen(pen(AxisInk, 0.2));
            m_painter.drawLine(QPointF(x, m_plot.bottom()), QPointF(x, m_plot.bottom() + mm(1)));
            text(QRectF(x - mm(10), m_plot.bottom() + mm(1), mm(20), mm(4)), f, AxisInk, Qt::AlignCenter,
                 day.toString(ticks.format));
        }
    }

    void paintGuide(const ChartGuide &g)
    {
        const double y = yOf(g.value);
        m_painter.setPen(pen(g.colour, 0.25, Qt::DotLine));
        m_painter.drawLine(QPointF(m_plot.left(), y), QPointF(m_plot.right(), y));
        text(QRectF(m_plot.left() + mm(1), y - mm(3.5), m_plot.width() - mm(2), mm(3.5)), font(5.5), g.colour,
             Qt::AlignRight | Qt::AlignBottom, g.caption);
    }

    // The thresholds of the points: each value of them a dashed level line
    // from the first to the last record it holds for (the first reaching back
    // to the axis). Thresholds that vary from record to record (the waist by
    // sex, the standard weight by height) give a few lines, not a zigzag.
    void paintThresholds(const std::vector<SeriesPoint> &points)
    {
        struct Level
        {
            double value, from, to;
        };
        std::vector<Level> levels;
        for (const SeriesPoint &p : points) {
            if (!p.threshold)
                continue;
            const double x = xOf(p.when);
            auto level = std::find_if(levels.begin(), levels.end(), [&](const Level &l) { return l.value == *p.threshold; });
            if (level == levels.end())
                levels.push_back({*p.threshold, levels.empty() ? m_plot.left() : x, m_plot.right()});
            else
                level->to = m_plot.right();
        }
        constexpr size_t MostLevels = 4; // heights that vary a lot: the first four standard weights stand for them
        if (levels.size() > MostLevels)
            levels.resize(MostLevels);
        m_painter.setBrush(Qt::NoBrush);
        for (const Level &l : levels) {
            const double y = yOf(l.value);
            m_painter.setPen(pen(ThresholdColour, 0.3, Qt::DashLine));
            m_painter.drawLine(QPointF(l.from, y), QPointF(l.to, y));
            text(QRectF(m_plot.left() + mm(1), y - mm(3.5), m_plot.width() - mm(2), mm(3.5)), font(5.5),
                 ThresholdColour, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("阈值 %1").arg(scoreText(l.value)));
        }
    }

    // The line, broken at gaps, then the marks. Points that fall into one
    // narrow column of the line keep only their first, lowest, highest and
    // last value; marks that would land on one already drawn are left out,
    // and in a crowded chart only the marks above the threshold are drawn.
    void paintValues(const std::vector<SeriesPoint> &points)
    {
        m_painter.setPen(pen(LineColour, 0.3));
        m_painter.setBrush(Qt::NoBrush);
        ColumnLine line(mm(0.25));
        for (const SeriesPoint &p : points) {
            if (p.afterGap)
                line.flushInto(m_painter);
            line.add(QPointF(xOf(p.when), yOf(p.value)));
        }
        line.flushInto(m_painter);

        const double radius = mm(0.7);
        const bool crowded = double(points.size()) * radius > m_plot.width();
        MarkGrid grid(m_plot, radius * 1.5);
        for (const SeriesPoint &p : points) {
            if (crowded && !p.above)
                continue;
            const QPointF at(xOf(p.when), yOf(p.value));
            if (!grid.take(at, p.above))
                continue;
            if (p.above) {
                m_painter.setPen(pen(AboveColour, 0.2));
                m_painter.setBrush(AboveColour);
                m_painter.drawEllipse(at, radius * 1.3, radius * 1.3);
            } else {
                m_painter.setPen(pen(LineColour, 0.25));
                m_painter.setBrush(Qt::white);
                m_painter.drawEllipse(at, radius, radius);
            }
        }
    }

    // A further series: its marks only, one to a cell of the plot.
    void paintSeries(const ChartSeries &series)
    {
        const double radius = mm(0.6);
        MarkGrid grid(m_plot, radius * 1.5);
        m_painter.setPen(pen(series.colour.darker(130), 0.12));
        m_painter.setBrush(series.colour);
        for (const ChartValue &v : series.values) {
            const QPointF at(xOf(v.when), yOf(v.value));
            if (grid.take(at, false))
                drawMark(m_painter, series.shape, at, radius);
        }
    }

    // The legend's entries: the chart's own points (no series), then each
    // series that has values, each at its place in rows of the area's width.
    struct LegendEntry
    {
        const ChartSeries *series;
        QString name;
        QPointF at; // the centre of its mark, from the top left of the legend
    };

    std::vector<LegendEntry> legendEntries(const TimeChart &chart, const QFont &f) const
    {
        std::vector<LegendEntry> entries{{nullptr, chart.pointsName, {}}};
        for (const ChartSeries &series : chart.series)
            if (!series.values.empty())
                entries.push_back({&series, series.name, {}});
        const QFontMetricsF metrics(f, m_painter.device());
        const double rowHeight = mm(LegendRow), width = m_area.width() - mm(2);
        QPointF next(mm(2), rowHeight / 2);
        for (LegendEntry &entry : entries) {
            const double w = mm(3) + metrics.horizontalAdvance(entry.name) + mm(2);
            if (next.x() > mm(2) && next.x() + w > width)
                next = QPointF(mm(2), next.y() + rowHeight);
            entry.at = next;
            next.rx() += w;
        }
        return entries;
    }

    void paintLegend(const std::vector<LegendEntry> &entries, const QFont &f, QPointF topLeft)
    {
        const double radius = mm(0.6);
        for (const LegendEntry &entry : entries) {
            const QPointF at = topLeft + entry.at;
            if (entry.series) {
                m_painter.setPen(pen(entry.series->colour.darker(130), 0.12));
                m_painter.setBrush(entry.series->colour);
                drawMark(m_painter, entry.series->shape, at, radius);
            } else {
                m_painter.setPen(pen(LineColour, 0.3));
                m_painter.drawLine(at - QPointF(mm(1.3), 0), at + QPointF(mm(1.3), 0));
                m_painter.setPen(pen(LineColour, 0.25));
                m_painter.setBrush(Qt::white);
                m_painter.drawEllipse(at, radius, radius);
            }
            text(QRectF(at.x() + mm(1.8), at.y() - mm(LegendRow) / 2, m_area.right() - at.x(), mm(LegendRow)), f,
                 AxisInk, Qt::AlignLeft | Qt::AlignVCenter, entry.name);
        }
    }

    // A polyline that keeps, of the points within one column, the first, the extremes and the last.
    class ColumnLine
    {
    public:
        explicit ColumnLine(double columnWidth) : m_width(columnWidth) {}
        void add(QPointF p)
        {
            const double column = std::floor(p.x() / m_width);
            if (m_column.empty() || column != m_columnIndex)
                closeColumn(column);
            m_column.push_back(p);
        }
        void flushInto(QPainter &painter)
        {
            closeColumn(0);
            // In short pieces: a long zigzag stroked as one outline costs far more to fill.
            constexpr qsizetype Piece = 32;
            for (qsizetype start = 0; start + 1 < m_line.size(); start += Piece)
                painter.drawPolyline(m_line.constData() + start, int(std::min(Piece + 1, m_line.size() - start)));
            m_line.clear();
        }

    private:
        void closeColumn(double next)
        {
            if (m_column.size() <= 4) {
                m_line += m_column;
            } else {
                const auto [low, high] = std::minmax_element(m_column.begin(), m_column.end(),
                                                             [](QPointF a, QPointF b) { return a.y() < b.y(); });
                const bool lowFirst = low < high;
                m_line << m_column.front() << (lowFirst ? *low : *high) << (lowFirst ? *high : *low) << m_column.back();
            }
            m_column.clear();
            m_columnIndex = next;
        }

        double m_width;
        double m_columnIndex = 0;
        QPolygonF m_column;
        QPolygonF m_line;
    };

    // Cells of the plot a mark has taken, one grid for each kind of mark.
    class MarkGrid
    {
    public:
        MarkGrid(const QRectF &plot, double cell)
            : m_plot(plot), m_cell(cell), m_columns(int(plot.width() / cell) + 2), m_rows(int(plot.height() / cell) + 2),
              m_taken(size_t(2 * m_columns * m_rows), false)
        {
        }
        // False when a mark of that kind already stands in the cell of `at`.
        bool take(QPointF at, bool above)
        {
            const int c = std::clamp(int((at.x() - m_plot.left()) / m_cell), 0, m_columns - 1);
            const int r = std::clamp(int((at.y() - m_plot.top()) / m_cell), 0, m_rows - 1);
            const size_t index = size_t((above ? m_columns * m_rows : 0) + r * m_columns + c);
            if (m_taken[index])
                return false;
            m_taken[index] = true;
            return true;
        }

    private:
        QRectF m_plot;
        double m_cell;
        int m_columns, m_rows;
        std::vector<bool> m_taken;
    };

    QPainter &m_painter;
    QRectF m_area;
    TimeAxis m_axis;
    const ChartLook &m_look;
    QRectF m_plot;
    ValueRange m_range{0, 1};
    double m_from;
    double m_span;
};

const QColor HomeReferenceColour(40, 90, 170);

// The series of the home readings: each with its colour and shape, told apart in print without colour too.
struct HomeSeriesLook
{
    Session session;
    const char16_t *name;
    QColor colour;
    MarkShape shape;
};
const std::array<HomeSeriesLook, 3> HomeSeriesLooks = {{
    {Session::Morning, u"家庭早晨", QColor(33, 113, 214), MarkShape::Triangle},
    {Session::Evening, u"家庭晚间", QColor(142, 68, 173), MarkShape::Square},
    {Session::Other, u"家庭其他时间", QColor(150, 150, 150), MarkShape::Diamond},
}};

QString titleWithUnit(const QString &title, const QString &unit)
{
    return unit.isEmpty() ? title : QStringLiteral("%1（%2）").arg(title, unit);
}

} // namespace

TimeChart factorTimeChart(const FactorSeries &series)
{
    const RecordColumn &column = factorColumn(series.factor);
    TimeChart chart;
    chart.title = titleWithUnit(column.titleText(), column.unitText());
    chart.points = series.points;
    chart.drawsThresholds = true;
    if (series.factor == Factor::Bmi) {
        for (const ReferenceLine &line : BmiReferenceLines)
            chart.guides.push_back({line.value, QStringLiteral("%1 %2（参考）").arg(line.nameText(), scoreText(line.value)),
                                    GuideColour});
    }
    return chart;
}

TimeChart scoreTimeChart(const RecordHistory &history)
{
    TimeChart chart;
    chart.title = QStringLiteral("风险评分");
    chart.points = scoreSeries(history);
    for (size_t k = 0; k < RiskLines.size(); ++k)
        chart.guides.push_back({RiskLines[k].score, RiskLines[k].captionText(), RiskLineColours[k]});
    return chart;
}

TimeChart cvdRiskTimeChart(const RecordHistory &history, const CvdAnswers &answers)
{
    TimeChart chart;
    chart.title = QStringLiteral("十年心血管病风险（%）");
    chart.points = cvdRiskSeries(history, answers).points;
    for (int edge : {5, 10, 20, 30})
        chart.guides.push_back({double(edge), QStringLiteral("%1%").arg(edge), QColor(cvd::bandColour(cvd::bandOf(edge)))});
    return chart;
}

bool TimeChart::hasLegend() const
{
    return std::any_of(series.begin(), series.end(), [](const ChartSeries &s) { return !s.values.empty(); });
}

void addHomeReadings(TimeChart &chart, Factor factor, std::span<const BpReading> readings,
                     const MonitoringWindows &windows)
{
    if (readings.empty() || (factor != Factor::Systolic && factor != Factor::Diastolic))
        return;
    const bool systolic = factor == Factor::Systolic;
    const size_t first = chart.series.size();
    for (const HomeSeriesLook &look : HomeSeriesLooks)
        chart.series.push_back({QString::fromUtf16(look.name), look.colour, look.shape, {}});
    for (const BpReading &r : readings) {
        const size_t k = size_t(sessionColumn(sessionOf(r.stamp, windows)));
        chart.series[first + k].values.push_back({stampDateTime(r.stamp), double(systolic ? r.systolic : r.diastolic)});
    }
    const int reference = systolic ? HomeReferenceSystolic : HomeReferenceDiastolic;
    chart.guides.push_back({double(reference), QStringLiteral("家庭参考 %1").arg(reference), HomeReferenceColour});
    chart.pointsName = QStringLiteral("体检");
}

std::vector<TimeChart> periodCharts(const RecordHistory &history, std::span<const BpReading> homeReadings)
{
    std::vector<TimeChart> charts{scoreTimeChart(history)};
    for (Factor factor : ChartedFactors) {
        charts.push_back(factorTimeChart(factorSeries(factor, history)));
        addHomeReadings(charts.back(), factor, homeReadings);
    }
    return charts;
}

void addMedicines(std::vector<TimeChart> &charts, std::span<const MedicineEvent> events, const QDate &first,
                  const QDate &last)
{
    const std::vector<MedicineMark> marks = medicineMarks(events, first, last);
    for (TimeChart &chart : charts)
        chart.medicines = marks;
}

TimeAxis timeAxisOf(const RecordHistory &history, const Period &period, std::span<const BpReading> homeReadings)
{
    TimeAxis axis{period.from, period.to};
    QDate first, last;
    if (!history.records.empty()) {
        first = history.records.front().when.date();
        last = history.records.back().when.date();
    }
    for (const BpReading &r : homeReadings) {
        const QDate day = stampDate(r.stamp);
        if (first.isNull() || day < first)
            first = day;
        if (last.isNull() || day > last)
            last = day;
    }
    if (axis.from.isNull())
        axis.from = first;
    if (axis.to.isNull())
        axis.to = last;
    if (axis.from.isNull())
        axis.from = axis.to.isNull() ? QDate(2000, 1, 1) : axis.to;
    if (axis.to.isNull() || axis.to < axis.from)
        axis.to = axis.from;
    return axis;
}

TimeAxis withMedicines(TimeAxis axis, const Period &period, const std::vector<TimeChart> &charts)
{
    if (charts.empty() || charts.front().medicines.empty())
        return axis;
    const std::vector<MedicineMark> &marks = charts.front().medicines; // in time order
    if (period.from.isNull())
        axis.from = std::min(axis.from, marks.front().when.date());
    if (period.to.isNull())
        axis.to = std::max(axis.to, marks.back().when.date());
    return axis;
}

void paintTimeChart(QPainter &painter, const QRectF &area, const TimeChart &chart, const TimeAxis &axis,
                    const ChartLook &look)
{
    ChartPainter(painter, area, axis, look).paint(chart);
}

} // namespace velmora
