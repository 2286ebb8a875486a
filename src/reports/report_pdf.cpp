#include "reports/report_pdf.h"

#include "model/cvd_estimate.h"
#include "model/score_breakdown.h"
#include "reports/export_files.h"
#include "reports/page_canvas.h"
#include "reports/report_colours.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

namespace velmora {

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// ---------------------------------------------------------------------------
// The A4 report. Its layout is measured in millimetres from the top left of
// the printable area; rows have a fixed height, so the page count depends on
// the number of records only.

namespace {

namespace layout {
using namespace ::velmora::page; // the margins and sizes every page shares
constexpr double TableBottom = FooterTop - 3;
constexpr double ChartTop = 36;
constexpr double ChartWidth = 150;
constexpr double ChartHeight = ChartWidth * 401.0 / 721.0; // Picture1's proportions
constexpr double FiguresCaptionTop = ChartTop + ChartHeight + 4;
constexpr double FiguresTop = FiguresCaptionTop + 7;
constexpr double FiguresRowHeight = 5.2;
constexpr double ContinuationTop = 11; // below the header of the pages after the first
constexpr double TableTop = ContinuationTop + 7;
constexpr double HeaderRowHeight = 10.5;
constexpr double RowHeight = 5.6;
constexpr double BreakdownLineHeight = 4.4;
constexpr int OverviewPages = 2; // the overview, then the factor charts; the medicines, then the records follow

int rowsPerTablePage()
{
    return int(std::floor((TableBottom - TableTop - HeaderRowHeight) / RowHeight + 1e-9));
}
} // namespace layout

using colours::Accent;
using colours::Brand;
using colours::HeaderFill;
using colours::Ink;
using colours::MarkedInk;
using colours::Muted;
using colours::StripeFill;
const QColor &RuleColour = colours::Rule;
const QColor ScoreInk(150, 20, 20);

class ReportPainter : PageCanvas
{
public:
    ReportPainter(QPrinter &printer, QPainter &painter, const DoctorReport &report)
        : PageCanvas(printer, painter), m_report(report)
    {
        layOutColumns();
    }

    void paint()
    {
        fitToPaper();
        bool first = true;
        for (const Page &p : pagesToPrint()) {
            if (!first)
                m_printer.newPage();
            first = false;
            paintPage(p);
        }
    }

private:
    struct Page
    {
        int number; // from 1
        int firstRow; // of the record table, on its pages
        int endRow;
    };

    // The pages the printer asks for: its page range (all pages when it has
    // none), last page first when asked, and the copies that the printer does
    // not make itself (a PDF file, some drivers), collated or not.
    std::vector<Page> pagesToPrint() const
    {
        const int rows = int(m_report.sheet.rows.size());
        const int count = reportPageCount(m_report);
        const int before = overviewPages(); // the pages before the records
        const int from = std::max(m_printer.fromPage(), 1);
        const int to = m_printer.toPage() > 0 ? std::min(m_printer.toPage(), count) : count;
        std::vector<Page> chosen;
        for (int number = 1; number <= count; ++number) {
            const int next = std::max(0, number - before - 1) * layout::rowsPerTablePage();
            const int end = number > before ? std::min(rows, next + layout::rowsPerTablePage()) : next;
            if (number >= from && number <= to)
                chosen.push_back({number, next, end});
        }
        if (m_printer.pageOrder() == QPrinter::LastPageFirst)
            std::reverse(chosen.begin(), chosen.end());
        const int copies = m_printer.supportsMultipleCopies() ? 1 : std::max(m_printer.copyCount(), 1);
        std::vector<Page> pages;
        for (int c = 0; c < copies * int(chosen.size()); ++c) {
            const int k = m_printer.collateCopies() ? c % int(chosen.size()) : c / copies;
            pages.push_back(chosen[size_t(k)]);
        }
        return pages;
    }

    void paintPage(const Page &p)
    {
        if (p.number == 1) {
            paintTitleBlock();
            paintChart();
            paintFigures();
            paintLatestCvdRisk(paintLatestBreakdown());
        } else {
            paintContinuationHeader();
            if (p.number == 2) {
                paintFactorCharts();
            } else if (p.number <= overviewPages()) {
                paintMedicines();
            } else {
                heading(layout::ContinuationTop, QStringLiteral("各次记录"),
                        QStringLiteral("红色粗体：高于风险评分模型的阈值；评分为显示图表时的风险评分"));
                paintTable(layout::TableTop, p.firstRow, p.endRow);
            }
        }
        footer(p.number, reportPageCount(m_report));
    }

    int overviewPages() const { return layout::OverviewPages + (m_report.medicines.isEmpty() ? 0 : 1); }

    // What was taken at the end of the period, and each change within it with
    // the blood pressure before and after it, each a paragraph.
    void paintMedicines()
    {
        const MedicineSection &section = m_report.medicines;
        heading(layout::ContinuationTop, QStringLiteral("用药与血压"),
                QStringLiteral("虚线：开始、调整、停用；轴上短线：单次服用；药名、剂量和用法按用药记录照录"));
        paintTimeChart(m_painter, mm(0, layout::ContinuationTop + 8, layout::Width, 92), m_report.medicineChart, m_report.axis,
                       ChartLook{font(7), m_perMm});
        double y = layout::ContinuationTop + 103;
        y = paragraphs(y, section.planTitle, section.plan, font(9));
        const QStringList changes = section.changes.isEmpty() ? QStringList{QStringLiteral("无")} : section.changes;
        y = paragraphs(y + 3, QStringLiteral("时段内的用药变化与前后血压"), changes, font(8));
        text(mm(0, y + 2, layout::Width, layout::FooterTop - y - 2), font(7), Muted,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, medicineEffectAbout());
    }

    // A bold title, then each line as a paragraph wrapped to the page's width;
    // lines past the room above the footer are left out and counted. Gives the bottom.
    double paragraphs(double top, const QString &title, const QStringList &lines, const QFont &f)
    {
        text(mm(0, top, layout::Width, 6), font(9.5, true), Brand, Qt::AlignLeft | Qt::AlignVCenter, title);
        double y = top + 7;
        const QFontMetricsF metrics(f, &m_printer);
        for (qsizetype k = 0; k < lines.size(); ++k) {
            const double height =
                metrics.boundingRect(mm(0, 0, layout::Width - 4, 100), Qt::TextWordWrap, lines[k]).height() / m_perMm + 1.2;
            if (y + height > layout::FooterTop - 16) {
                text(mm(4, y, layout::Width - 4, 5), f, Muted, Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("……另有 %1 条，见“用药记录”窗口").arg(lines.size() - k));
                return y + 5;
            }
            text(mm(4, y, layout::Width - 4, height), f, Ink, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines[k]);
            y += height;
        }
        return y;
    }

    void paintTitleBlock()
    {
        titleBlock(QStringLiteral("健康记录报告"), m_report.date, m_report.userName,
                   QStringLiteral("时段：%1　%2").arg(m_report.period, m_report.recordSummary));
    }

    void paintChart()
    {
        heading(29.5, QStringLiteral("风险评分趋势"),
                QStringLiteral("所选时段每条记录一个红色标记，从左到右按记录顺序；标记越高，评分越高"));
        const QRectF target = mm(0, layout::ChartTop, layout::ChartWidth, layout::ChartHeight);
        m_painter.save();
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter.drawImage(target, m_report.chart.convertToFormat(QImage::Format_RGB32));
        QPen frame(QColor(191, 207, 191));
        frame.setWidthF(px(0.25));
        m_painter.setPen(frame);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(target);
        m_painter.restore();
    }


    // The period's figures: one row per charted factor and one for the score.
    void paintFigures()
    {
        heading(layout::FiguresCaptionTop, QStringLiteral("时段统计"),
                QStringLiteral("%1；文字和空项不计入").arg(m_report.period));
        const StatisticsSheet &sheet = m_report.figures;
        const int columns = int(sheet.titles.size());
        if (columns < 3)
            return;
        std::vector<double> widths(size_t(columns), (layout::Width - 40) / (columns - 2));
        widths[0] = 24;
        widths[1] = 16;
        const double top = layout::FiguresTop;
        const double h = layout::FiguresRowHeight;
        m_painter.fillRect(mm(0, top, layout::Width, h), HeaderFill);
        const QFont title = font(7, true), cell = font(7.5), first = font(7.5, true);
        double x = 0;
        for (int c = 0; c < columns; ++c) {
            text(mm(x, top, widths[size_t(c)], h), title, Brand, Qt::AlignCenter, sheet.titles[c]);
            x += widths[size_t(c)];
        }
        double y = top + h;
        for (size_t r = 0; r < sheet.rows.size(); ++r, y += h) {
            if (r % 2 == 1)
                m_painter.fillRect(mm(0, y, layout::Width, h), StripeFill);
            x = 0;
            for (int c = 0; c < columns; ++c) {
                text(mm(x + 0.8, y, widths[size_t(c)] - 1.6, h), c == 0 ? first : cell, c == 0 ? Brand : Ink,
                     (c == 0 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter, sheet.rows[r].value(c));
                x += widths[size_t(c)];
            }
            rule(y + h - 0.15, 0.15, RuleColour);
        }
    }

    double breakdownTop() const
    {
        return layout::FiguresTop + layout::FiguresRowHeight * double(m_report.figures.rows.size() + 1) + 4;
    }

    // The latest record's score explained: the score first, then its terms in
    // two columns. Gives the bottom of what it painted.
    double paintLatestBreakdown()
    {
        const QStringList &lines = m_report.latestExplanation;
        if (lines.isEmpty())
            return breakdownTop();
        const double top = breakdownTop();
        heading(top, QStringLiteral("最近一次记录的评分构成"),
                m_report.latestWhen.toString(QStringLiteral("yyyy年MM月dd日 HH:mm:ss")));
        const int opening = int(lines.size()) - TermCount; // the score, and what replaced or blocked the sum
        double y = top + 7;
        for (int k = 0; k < opening; ++k, y += layout::BreakdownLineHeight)
            text(mm(0, y, layout::Width, layout::BreakdownLineHeight), font(8, k == 0), k == 0 ? ScoreInk : Ink,
                 Qt::AlignLeft | Qt::AlignVCenter, lines[k]);
        const int perColumn = (TermCount + 1) / 2;
        const QFont termFont = font(7.5);
        for (int k = 0; k < TermCount; ++k) {
            const double left = k < perColumn ? 0 : layout::Width / 2;
            const double rowTop = y + layout::BreakdownLineHeight * (k % perColumn);
            const QString line = lines[opening + k];
            const QString shown = QFontMetricsF(termFont, &m_printer)
                                      .elidedText(line, Qt::ElideRight, px(layout::Width / 2 - 2));
            text(mm(left, rowTop, layout::Width / 2 - 2, layout::BreakdownLineHeight), termFont, Ink,
                 Qt::AlignLeft | Qt::AlignVCenter, shown);
        }
        return y + layout::BreakdownLineHeight * perColumn;
    }

    // The latest record's ten-year cardiovascular risk, in its band's colour,
    // the model and inputs it took, and what the estimate is.
    void paintLatestCvdRisk(double top)
    {
        const QStringList &lines = m_report.latestCvdRisk;
        if (lines.isEmpty())
            return;
        const double y = top + 2;
        const QColor colour = m_report.latestCvdColour.isEmpty() ? Ink : QColor(m_report.latestCvdColour);
        if (!m_report.latestCvdColour.isEmpty())
            m_painter.fillRect(mm(0, y + 0.6, 1.2, layout::BreakdownLineHeight - 1.2), colour);
        text(mm(2.5, y, layout::Width - 2.5, layout::BreakdownLineHeight), font(8.5, true), colour,
             Qt::AlignLeft | Qt::AlignVCenter, lines[0]);
        double below = y + layout::BreakdownLineHeight;
        for (qsizetype k = 1; k < lines.size(); ++k, below += layout::BreakdownLineHeight)
            text(mm(2.5, below, layout::Width - 2.5, layout::BreakdownLineHeight), font(7.5), Ink,
                 Qt::AlignLeft | Qt::AlignVCenter, lines[k]);
        text(mm(2.5, below, layout::Width - 2.5, layout::FooterTop - below), font(7), Muted,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, cvdAboutText());
    }

    // The score and each factor over time, three charts a row, against the period's dates.
    void paintFactorCharts()
    {
        heading(layout::ContinuationTop, QStringLiteral("各项因素随时间的变化"),
                QStringLiteral("红色实心点：高于风险评分模型的阈值；橙色虚线：阈值；文字和空项为空缺，不画作 0"));
        text(mm(0, layout::ContinuationTop + 6, layout::Width, 4), font(6.5), Muted, Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf16(ReferenceLinesNote) + QStringLiteral("（体重指数图中的虚点线）")
                 + (m_report.homeReadingCount > 0 ? QStringLiteral("；家庭参考 135/85 mmHg：指南的家庭血压参考值")
                                                  : QString()));
        const int columns = 3;
        const int rows = (int(m_report.charts.size()) + columns - 1) / columns;
        const double bottom = m_report.homeReadingCount > 0 ? paintHomeBloodPressure() : layout::TableBottom;
        if (rows == 0)
            return;
        const double top = layout::ContinuationTop + 12;
        const double w = layout::Width / columns;
        const double h = std::min(75.0, (bottom - top) / rows);
        const ChartLook look{font(7), m_perMm};
        for (size_t k = 0; k < m_report.charts.size(); ++k) {
            const QRectF area = mm(w * double(k % columns), top + h * double(k / columns), w, h);
            paintTimeChart(m_painter, area.adjusted(px(1), px(1), -px(1), -px(2)), m_report.charts[k],
                           m_report.axis, look);
        }
    }

    // The period's home blood pressure readings below the factor charts: how
    // many, then the latest monitoring week's means and what they are. Gives
    // its top, the bottom of the charts' room.
    double paintHomeBloodPressure()
    {
        const HomeWeekSheet &week = m_report.homeWeek;
        constexpr double Line = layout::BreakdownLineHeight;
        const QFont plain = font(7.5), small = font(7);
        const double aboutHeight = 2 * Line;
        const double top = layout::TableBottom - 7 - 2 * Line - Line - aboutHeight;
        heading(top, QStringLiteral("家庭血压"),
                QStringLiteral("时段内 %1 次读数；最近一个监测周：%2").arg(m_report.homeReadingCount).arg(week.week));
        double y = top + 7;
        for (qsizetype k = 0; k < week.means.size(); ++k)
            text(mm(k % 2 ? layout::Width / 2 : 0, y + Line * double(k / 2), layout::Width / 2, Line), plain, Ink,
                 Qt::AlignLeft | Qt::AlignVCenter, week.means[k]);
        y += 2 * Line;
        const QFont verdict = font(8, true);
        text(mm(0, y, layout::Width, Line), verdict, week.above ? MarkedInk : Brand, Qt::AlignLeft | Qt::AlignVCenter,
             week.verdict);
        const double after = textWidth(verdict, week.verdict) + 3;
        text(mm(after, y, layout::Width - after, Line), plain, Muted, Qt::AlignLeft | Qt::AlignVCenter, week.shortfall);
        y += Line;
        text(mm(0, y, layout::Width, aboutHeight), small, Muted, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             week.about);
        return top - 2;
    }

    void paintContinuationHeader()
    {
        const QFont small = font(8.5);
        text(mm(0, 0, layout::Width, 6), font(10, true), Brand, Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("健康记录报告（续）"));
        text(mm(0, 0, layout::Width, 6), small, Muted, Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("%1 · 报告日期：%2").arg(m_report.userName, dateCaption(m_report.date)));
        rule(8, 0.4, Accent);
    }

    // Column widths from the widest text in each column, in the largest font
    // with which the table fits the page width.
    void layOutColumns()
    {
        const RecordSheet &sheet = m_report.sheet;
        const int columns = int(sheet.titles.size());
        for (double points : {8.0, 7.5, 7.0, 6.5, 6.0, 5.5}) {
            m_cellPoints = points;
            m_widths.assign(size_t(columns), 0.0);
            m_plainCells = CellFont(font(points), m_printer, m_perMm);
            m_boldCells = CellFont(font(points, true), m_printer, m_perMm);
            const QFont title = font(points - 0.5, true);
            const QFont unit = font(points - 1.5);
            for (int c = 0; c < columns; ++c) {
                double w = std::max(textWidth(title, sheet.titles[c]), textWidth(unit, sheet.units.value(c)));
                for (const auto &row : sheet.rows)
                    w = std::max(w, cellFont(c, row[size_t(c)]).width(row[size_t(c)].text));
                const double cap = c == 0 ? 34.0 : 22.0; // longer texts are elided
                m_widths[size_t(c)] = std::min(w, cap) + 2.4;
            }
            if (std::accumulate(m_widths.begin(), m_widths.end(), 0.0) <= layout::Width)
                break;
        }
        const double total = std::accumulate(m_widths.begin(), m_widths.end(), 0.0);
        const double scale = layout::Width / total; // spreads the room left, or squeezes the last resort
        for (double &w : m_widths)
            w *= scale;
    }

    // The font of the record table's cells, with the widths of the texts it
    // has measured: a long table repeats most of its texts, so each is measured once.
    class CellFont
    {
    public:
        CellFont() = default;
        CellFont(const QFont &f, QPrinter &printer, double perMm)
            : m_font(f), m_metrics(std::make_shared<QFontMetricsF>(f, &printer)), m_perMm(perMm), m_device(&printer)
        {
        }
        const QFont &font() const { return m_font; }
        double ascentPixels() const { return m_metrics->ascent(); }
        double width(const QString &text) // in millimetres
        {
            const auto known = m_widths.constFind(text);
            if (known != m_widths.cend())
                return *known;
            const double w = m_metrics->horizontalAdvance(text) / m_perMm;
            m_widths.insert(text, w);
            return w;
        }
        QString elided(const QString &text, double widthMm) const
        {
            return m_metrics->elidedText(text, Qt::ElideRight, widthMm * m_perMm);
        }
        // The glyphs of a text, laid out once: a long table repeats most of its texts.
        const QList<QGlyphRun> &glyphs(const QString &text)
        {
            auto known = m_glyphs.find(text);
            if (known == m_glyphs.end()) {
                QTextLayout layout(text, m_font, m_device);
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                known = m_glyphs.insert(text, layout.glyphRuns());
            }
            return *known;
        }
        // The baseline that centres the text in a row, from the row's top, in millimetres.
        double baseline(double rowHeight) const
        {
            return (rowHeight + (m_metrics->ascent() - m_metrics->descent()) / m_perMm) / 2;
        }

    private:
        QFont m_font;
        std::shared_ptr<QFontMetricsF> m_metrics;
        double m_perMm = 1;
        QHash<QString, double> m_widths;
        QPaintDevice *m_device = nullptr;
        QHash<QString, QList<QGlyphRun>> m_glyphs;
    };

    CellFont &cellFont(int column, const SheetCell &cell)
    {
        const bool isScore = column + 2 == int(m_report.sheet.titles.size());
        return isScore || cell.marked ? m_boldCells : m_plainCells;
    }

    // One cell's text at its place in the row, elided when wider than its room.
    void cellText(double left, double top, double width, CellFont &f, bool alignLeft, const QString &s)
    {
        double w = f.width(s);
        QString shown = s;
        if (w > width) {
            shown = f.elided(s, width);
            w = f.width(shown);
        }
        const double x = alignLeft ? left : left + (width - w) / 2;
        // Glyph runs stand with their baseline at the layout's ascent.
        const QPointF at(px(x), px(top + f.baseline(layout::RowHeight)) - f.ascentPixels());
        for (const QGlyphRun &run : f.glyphs(shown))
            m_batch.add(at, run);
    }

    // The glyphs of many cells gathered into one run per font: the PDF then
    // holds a few text objects a page instead of one for every cell.
    class GlyphBatch
    {
    public:
        void add(QPointF at, const QGlyphRun &run)
        {
            auto part = std::find_if(m_parts.begin(), m_parts.end(),
                                     [&](const Part &p) { return p.font == run.rawFont(); });
            if (part == m_parts.end())
                part = m_parts.insert(m_parts.end(), Part{run.rawFont(), {}, {}});
            part->indexes += run.glyphIndexes();
            for (QPointF p : run.positions())
                part->positions << p + at;
        }
        void drawInto(QPainter &painter)
        {
            for (const Part &part : m_parts) {
                QGlyphRun run;
                run.setRawFont(part.font);
                run.setGlyphIndexes(part.indexes);
                run.setPositions(part.positions);
                painter.drawGlyphRun(QPointF(0, 0), run);
            }
            m_parts.clear();
        }

    private:
        struct Part
        {
            QRawFont font;
            QList<quint32> indexes;
            QList<QPointF> positions;
        };
        std::vector<Part> m_parts;
    };

    void paintTable(double top, int from, int to)
    {
        const RecordSheet &sheet = m_report.sheet;
        const int columns = int(sheet.titles.size());
        const QFont title = font(m_cellPoints - 0.5, true);
        const QFont unit = font(m_cellPoints - 1.5);

        m_painter.fillRect(mm(0, top, layout::Width, layout::HeaderRowHeight), HeaderFill);
        double x = 0;
        for (int c = 0; c < columns; ++c) {
            const double w = m_widths[size_t(c)];
            const QString unitText = sheet.units.value(c);
            if (unitText.isEmpty()) {
                text(mm(x, top, w, layout::HeaderRowHeight), title, Brand, Qt::AlignCenter, sheet.titles[c]);
            } else {
                text(mm(x, top + 1.2, w, 4.6), title, Brand, Qt::AlignHCenter | Qt::AlignBottom, sheet.titles[c]);
                text(mm(x, top + 5.8, w, 3.8), unit, Muted, Qt::AlignHCenter | Qt::AlignTop, unitText);
            }
            x += w;
        }
        rule(top + layout::HeaderRowHeight - 0.3, 0.3, Accent);

        // Stripes and rules first, then the cells style by style: the PDF
        // then changes its font and colour a few times a page, not at every cell.
        const double body = top + layout::HeaderRowHeight;
        QList<QRectF> stripes, rules;
        for (int r = from; r < to; ++r) {
            const double y = body + layout::RowHeight * (r - from);
            if ((r - from) % 2 == 1)
                stripes << mm(0, y, layout::Width, layout::RowHeight);
            rules << mm(0, y + layout::RowHeight - 0.15, layout::Width, 0.15);
        }
        m_painter.save();
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(StripeFill);
        m_painter.drawRects(stripes);
        m_painter.setBrush(RuleColour);
        m_painter.drawRects(rules);
        m_painter.restore();
        enum class Style { Plain, Band, Marked, Score };
        for (Style style : {Style::Plain, Style::Band, Style::Marked, Style::Score}) {
            const bool bold = style == Style::Marked || style == Style::Score;
            CellFont &f = bold ? m_boldCells : m_plainCells;
            m_painter.setFont(f.font());
            m_painter.setPen(style == Style::Plain    ? Ink
                             : style == Style::Band   ? Muted
                             : style == Style::Marked ? MarkedInk
                                                      : ScoreInk);
            for (int r = from; r < to; ++r) {
                const auto &row = sheet.rows[size_t(r)];
                const double y = body + layout::RowHeight * (r - from);
                double left = 0;
                for (int c = 0; c < columns; ++c) {
                    const double w = m_widths[size_t(c)];
                    const SheetCell &item = row[size_t(c)];
                    const Style of = c + 2 == columns ? Style::Score
                                     : c + 1 == columns ? Style::Band
                                     : item.marked      ? Style::Marked
                                                        : Style::Plain;
                    if (of == style && !item.text.isEmpty())
                        cellText(left + 0.8, y, w - 1.6, f, c == 0, item.text);
                    left += w;
                }
            }
            m_batch.drawInto(m_painter);
        }
    }

    const DoctorReport &m_report;
    double m_cellPoints = 8;
    std::vector<double> m_widths;
    CellFont m_plainCells, m_boldCells;
    GlyphBatch m_batch;
};

} // namespace

int reportPageCount(int recordCount, bool withMedicines)
{
    const int rows = layout::rowsPerTablePage();
    return layout::OverviewPages + (withMedicines ? 1 : 0) + std::max(1, (recordCount + rows - 1) / rows);
}

int reportPageCount(const DoctorReport &report)
{
    return reportPageCount(int(report.sheet.rows.size()), !report.medicines.isEmpty());
}

void prepareReportPrinter(QPrinter &printer, const DoctorReport &report)
{
    preparePagePrinter(printer, QStringLiteral("健康记录报告 %1 %2").arg(report.userName, dateCaption(report.date)));
}

bool printReport(QPrinter &printer, const DoctorReport &report)
{
    return printPages(printer, [&](QPainter &painter) { ReportPainter(printer, painter, report).paint(); });
}

FileResult writeReportPdf(const QString &path, const DoctorReport &report)
{
    QPrinter printer(QPrinter::HighResolution);
    prepareReportPrinter(printer, report);
    return writeReportPdf(path, report, printer);
}

FileResult writeReportPdf(const QString &path, const DoctorReport &report, QPrinter &printer)
{
    return writePdfFile(path, printer, [&](QPrinter &chosen) { return printReport(chosen, report); });
}

} // namespace velmora
