#include "reports/report_pdf.h"

#include "model/cvd_estimate.h"
#include "model/score_breakdown.h"
#include "reports/report_colours.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QRawFont>
#include <QTemporaryDir>
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

namespace page {
constexpr double MarginLeft = 16, MarginTop = 14, MarginRight = 16, MarginBottom = 12;
constexpr double Width = 210 - MarginLeft - MarginRight; // 178
constexpr double Height = 297 - MarginTop - MarginBottom; // 271
constexpr double FooterTop = Height - 15;
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
} // namespace page

using colours::Accent;
using colours::Brand;
using colours::Ink;
using colours::MarkedInk;
using colours::Muted;
const QColor HeaderFill(232, 245, 233);
const QColor StripeFill(246, 251, 246);
const QColor RuleColour(200, 224, 200);
const QColor ScoreInk(150, 20, 20);

QString dateCaption(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy年MM月dd日"));
}

class ReportPainter
{
public:
    ReportPainter(QPrinter &printer, QPainter &painter, const DoctorReport &report)
        : m_printer(printer), m_painter(painter), m_report(report),
          m_perMm(printer.resolution() / 25.4)
    {
        // WenQuanYi Micro Hei first: each of its glyphs stands for one character,
        // so the PDF's text reads back as printed. Noto CJK gives the glyphs of
        // 血, 风, 日 ... to the Kangxi radicals too, and the PDF then reads
        // "⾎压/⾼". Then the Chinese faces of Windows and macOS, Noto CJK, and
        // the application font.
        m_families = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("PingFang SC"), QStringLiteral("Noto Sans CJK SC"), QApplication::font().family()};
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
            const int next = std::max(0, number - before - 1) * page::rowsPerTablePage();
            const int end = number > before ? std::min(rows, next + page::rowsPerTablePage()) : next;
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
                heading(page::ContinuationTop, QStringLiteral("各次记录"),
                        QStringLiteral("红色粗体：高于风险评分模型的阈值；评分为显示图表时的风险评分"));
                paintTable(page::TableTop, p.firstRow, p.endRow);
            }
        }
        paintFooter(p.number, reportPageCount(m_report));
    }

    int overviewPages() const { return page::OverviewPages + (m_report.medicines.isEmpty() ? 0 : 1); }

    // What was taken at the end of the period, and each change within it with
    // the blood pressure before and after it, each a paragraph.
    void paintMedicines()
    {
        const MedicineSection &section = m_report.medicines;
        heading(page::ContinuationTop, QStringLiteral("用药与血压"),
                QStringLiteral("虚线：开始、调整、停用；轴上短线：单次服用；药名、剂量和用法按用药记录照录"));
        paintTimeChart(m_painter, mm(0, page::ContinuationTop + 8, page::Width, 92), m_report.medicineChart, m_report.axis,
                       ChartLook{font(7), m_perMm});
        double y = page::ContinuationTop + 103;
        y = paragraphs(y, section.planTitle, section.plan, font(9));
        const QStringList changes = section.changes.isEmpty() ? QStringList{QStringLiteral("无")} : section.changes;
        y = paragraphs(y + 3, QStringLiteral("时段内的用药变化与前后血压"), changes, font(8));
        text(mm(0, y + 2, page::Width, page::FooterTop - y - 2), font(7), Muted,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, medicineEffectAbout());
    }

    // A bold title, then each line as a paragraph wrapped to the page's width;
    // lines past the room above the footer are left out and counted. Gives the bottom.
    double paragraphs(double top, const QString &title, const QStringList &lines, const QFont &f)
    {
        text(mm(0, top, page::Width, 6), font(9.5, true), Brand, Qt::AlignLeft | Qt::AlignVCenter, title);
        double y = top + 7;
        const QFontMetricsF metrics(f, &m_printer);
        for (qsizetype k = 0; k < lines.size(); ++k) {
            const double height =
                metrics.boundingRect(mm(0, 0, page::Width - 4, 100), Qt::TextWordWrap, lines[k]).height() / m_perMm + 1.2;
            if (y + height > page::FooterTop - 16) {
                text(mm(4, y, page::Width - 4, 5), f, Muted, Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("……另有 %1 条，见“用药记录”窗口").arg(lines.size() - k));
                return y + 5;
            }
            text(mm(4, y, page::Width - 4, height), f, Ink, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines[k]);
            y += height;
        }
        return y;
    }

    // The layout is made for A4; smaller paper gets it shrunk to its printable area.
    void fitToPaper()
    {
        const QRectF area = m_printer.pageRect(QPrinter::DevicePixel);
        const double fit = std::min({1.0, area.width() / px(page::Width), area.height() / px(page::Height)});
        if (fit < 1.0)
            m_painter.scale(fit, fit);
    }

    QRectF mm(double x, double y, double w, double h) const
    {
        return QRectF(x * m_perMm, y * m_perMm, w * m_perMm, h * m_perMm);
    }
    double px(double millimetres) const { return millimetres * m_perMm; }

    QFont font(double points, bool bold = false) const
    {
        QFont f;
        f.setFamilies(m_families);
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }
    // Width in millimetres of a text in a font.
    double textWidth(const QFont &f, const QString &text) const
    {
        return QFontMetricsF(f, &m_printer).horizontalAdvance(text) / m_perMm;
    }

    void text(const QRectF &rect, const QFont &f, const QColor &colour, int flags, const QString &s)
    {
        m_painter.setFont(f);
        m_painter.setPen(colour);
        m_painter.drawText(rect, flags, s);
    }

    void rule(double y, double thickness, const QColor &colour)
    {
        m_painter.fillRect(mm(0, y, page::Width, thickness), colour);
    }

    void heading(double top, const QString &title, const QString &note)
    {
        const QFont titleFont = font(11, true);
        text(mm(0, top, page::Width, 6), titleFont, Brand, Qt::AlignLeft | Qt::AlignVCenter, title);
        const double after = textWidth(titleFont, title) + 3;
        text(mm(after, top, page::Width - after, 6), font(7.5), Muted, Qt::AlignLeft | Qt::AlignVCenter, note);
    }

    void paintTitleBlock()
    {
        const QFont small = font(8.5);
        const QFont brand = font(8.5, true);
        text(mm(0, 0, 60, 5), brand, Accent, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora"));
        const double after = textWidth(brand, QStringLiteral("Velmora")) + 1.5;
        text(mm(after, 0, 80, 5), small, Muted, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("· 心脑血管健康日记"));
        text(mm(0, 0, page::Width, 5), small, Muted, Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("报告日期：%1").arg(dateCaption(m_report.date)));

        text(mm(0, 7, page::Width, 11), font(19, true), Brand, Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("健康记录报告"));

        const QFont label = font(10);
        const QFont value = font(10, true);
        const QString nameLabel = QStringLiteral("姓名：");
        text(mm(0, 19.5, 40, 6), label, Muted, Qt::AlignLeft | Qt::AlignVCenter, nameLabel);
        const double nameLeft = textWidth(label, nameLabel);
        text(mm(nameLeft, 19.5, 90, 6), value, Ink, Qt::AlignLeft | Qt::AlignVCenter, m_report.userName);

        text(mm(0, 19.5, page::Width, 6), label, Ink, Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("时段：%1　%2").arg(m_report.period, m_report.recordSummary));
        rule(27.5, 0.6, Accent);
    }

    void paintChart()
    {
        heading(29.5, QStringLiteral("风险评分趋势"),
                QStringLiteral("所选时段每条记录一个红色标记，从左到右按记录顺序；标记越高，评分越高"));
        const QRectF target = mm(0, page::ChartTop, page::ChartWidth, page::ChartHeight);
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
        heading(page::FiguresCaptionTop, QStringLiteral("时段统计"),
                QStringLiteral("%1；文字和空项不计入").arg(m_report.period));
        const StatisticsSheet &sheet = m_report.figures;
        const int columns = int(sheet.titles.size());
        if (columns < 3)
            return;
        std::vector<double> widths(size_t(columns), (page::Width - 40) / (columns - 2));
        widths[0] = 24;
        widths[1] = 16;
        const double top = page::FiguresTop;
        const double h = page::FiguresRowHeight;
        m_painter.fillRect(mm(0, top, page::Width, h), HeaderFill);
        const QFont title = font(7, true), cell = font(7.5), first = font(7.5, true);
        double x = 0;
        for (int c = 0; c < columns; ++c) {
            text(mm(x, top, widths[size_t(c)], h), title, Brand, Qt::AlignCenter, sheet.titles[c]);
            x += widths[size_t(c)];
        }
        double y = top + h;
        for (size_t r = 0; r < sheet.rows.size(); ++r, y += h) {
            if (r % 2 == 1)
                m_painter.fillRect(mm(0, y, page::Width, h), StripeFill);
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
        return page::FiguresTop + page::FiguresRowHeight * double(m_report.figures.rows.size() + 1) + 4;
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
        for (int k = 0; k < opening; ++k, y += page::BreakdownLineHeight)
            text(mm(0, y, page::Width, page::BreakdownLineHeight), font(8, k == 0), k == 0 ? ScoreInk : Ink,
                 Qt::AlignLeft | Qt::AlignVCenter, lines[k]);
        const int perColumn = (TermCount + 1) / 2;
        const QFont termFont = font(7.5);
        for (int k = 0; k < TermCount; ++k) {
            const double left = k < perColumn ? 0 : page::Width / 2;
            const double rowTop = y + page::BreakdownLineHeight * (k % perColumn);
            const QString line = lines[opening + k];
            const QString shown = QFontMetricsF(termFont, &m_printer)
                                      .elidedText(line, Qt::ElideRight, px(page::Width / 2 - 2));
            text(mm(left, rowTop, page::Width / 2 - 2, page::BreakdownLineHeight), termFont, Ink,
                 Qt::AlignLeft | Qt::AlignVCenter, shown);
        }
        return y + page::BreakdownLineHeight * perColumn;
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
            m_painter.fillRect(mm(0, y + 0.6, 1.2, page::BreakdownLineHeight - 1.2), colour);
        text(mm(2.5, y, page::Width - 2.5, page::BreakdownLineHeight), font(8.5, true), colour,
             Qt::AlignLeft | Qt::AlignVCenter, lines[0]);
        double below = y + page::BreakdownLineHeight;
        for (qsizetype k = 1; k < lines.size(); ++k, below += page::BreakdownLineHeight)
            text(mm(2.5, below, page::Width - 2.5, page::BreakdownLineHeight), font(7.5), Ink,
                 Qt::AlignLeft | Qt::AlignVCenter, lines[k]);
        text(mm(2.5, below, page::Width - 2.5, page::FooterTop - below), font(7), Muted,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, cvdAboutText());
    }

    // The score and each factor over time, three charts a row, against the period's dates.
    void paintFactorCharts()
    {
        heading(page::ContinuationTop, QStringLiteral("各项因素随时间的变化"),
                QStringLiteral("红色实心点：高于风险评分模型的阈值；橙色虚线：阈值；文字和空项为空缺，不画作 0"));
        text(mm(0, page::ContinuationTop + 6, page::Width, 4), font(6.5), Muted, Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf16(ReferenceLinesNote) + QStringLiteral("（体重指数图中的虚点线）"));
        const int columns = 3;
        const int rows = (int(m_report.charts.size()) + columns - 1) / columns;
        if (rows == 0)
            return;
        const double top = page::ContinuationTop + 12;
        const double w = page::Width / columns;
        const double h = std::min(75.0, (page::TableBottom - top) / rows);
        const ChartLook look{font(7), m_perMm};
        for (size_t k = 0; k < m_report.charts.size(); ++k) {
            const QRectF area = mm(w * double(k % columns), top + h * double(k / columns), w, h);
            paintTimeChart(m_painter, area.adjusted(px(1), px(1), -px(1), -px(2)), m_report.charts[k],
                           m_report.axis, look);
        }
    }

    void paintContinuationHeader()
    {
        const QFont small = font(8.5);
        text(mm(0, 0, page::Width, 6), font(10, true), Brand, Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("健康记录报告（续）"));
        text(mm(0, 0, page::Width, 6), small, Muted, Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("%1 · 报告日期：%2").arg(m_report.userName, dateCaption(m_report.date)));
        rule(8, 0.4, Accent);
    }

    void paintFooter(int number, int pages)
    {
        rule(page::FooterTop, 0.25, RuleColour);
        const QString disclaimer = QStringLiteral(
            "声明：本报告中的数据与图表不能作为临床诊断的依据，仅供自我提醒与警示之用；"
            "任何结果都不能证明您患有或未患有心脑血管疾病。如有疑问，请及时就医。");
        text(mm(0, page::FooterTop + 1.5, page::Width - 28, 10), font(7.5), Muted,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, disclaimer);
        text(mm(page::Width - 26, page::FooterTop + 1.5, 26, 5), font(7.5), Muted, Qt::AlignRight | Qt::AlignTop,
             QStringLiteral("第 %1 / %2 页").arg(number).arg(pages));
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
            if (std::accumulate(m_widths.begin(), m_widths.end(), 0.0) <= page::Width)
                break;
        }
        const double total = std::accumulate(m_widths.begin(), m_widths.end(), 0.0);
        const double scale = page::Width / total; // spreads the room left, or squeezes the last resort
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
        const QPointF at(px(x), px(top + f.baseline(page::RowHeight)) - f.ascentPixels());
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

        m_painter.fillRect(mm(0, top, page::Width, page::HeaderRowHeight), HeaderFill);
        double x = 0;
        for (int c = 0; c < columns; ++c) {
            const double w = m_widths[size_t(c)];
            const QString unitText = sheet.units.value(c);
            if (unitText.isEmpty()) {
                text(mm(x, top, w, page::HeaderRowHeight), title, Brand, Qt::AlignCenter, sheet.titles[c]);
            } else {
                text(mm(x, top + 1.2, w, 4.6), title, Brand, Qt::AlignHCenter | Qt::AlignBottom, sheet.titles[c]);
                text(mm(x, top + 5.8, w, 3.8), unit, Muted, Qt::AlignHCenter | Qt::AlignTop, unitText);
            }
            x += w;
        }
        rule(top + page::HeaderRowHeight - 0.3, 0.3, Accent);

        // Stripes and rules first, then the cells style by style: the PDF
        // then changes its font and colour a few times a page, not at every cell.
        const double body = top + page::HeaderRowHeight;
        QList<QRectF> stripes, rules;
        for (int r = from; r < to; ++r) {
            const double y = body + page::RowHeight * (r - from);
            if ((r - from) % 2 == 1)
                stripes << mm(0, y, page::Width, page::RowHeight);
            rules << mm(0, y + page::RowHeight - 0.15, page::Width, 0.15);
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
                const double y = body + page::RowHeight * (r - from);
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

    QPrinter &m_printer;
    QPainter &m_painter;
    const DoctorReport &m_report;
    double m_perMm;
    QStringList m_families;
    double m_cellPoints = 8;
    std::vector<double> m_widths;
    CellFont m_plainCells, m_boldCells;
    GlyphBatch m_batch;
};

} // namespace

int reportPageCount(int recordCount, bool withMedicines)
{
    const int rows = page::rowsPerTablePage();
    return page::OverviewPages + (withMedicines ? 1 : 0) + std::max(1, (recordCount + rows - 1) / rows);
}

int reportPageCount(const DoctorReport &report)
{
    return reportPageCount(int(report.sheet.rows.size()), !report.medicines.isEmpty());
}

void prepareReportPrinter(QPrinter &printer, const DoctorReport &report)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(page::MarginLeft, page::MarginTop, page::MarginRight,
                                                page::MarginBottom),
                                      QPageLayout::Millimeter));
    printer.setCreator(QStringLiteral("Velmora"));
    printer.setDocName(QStringLiteral("健康记录报告 %1 %2").arg(report.userName, dateCaption(report.date)));
}

bool printReport(QPrinter &printer, const DoctorReport &report)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ReportPainter(printer, painter, report).paint();
    return painter.end();
}

FileResult writeReportPdf(const QString &path, const DoctorReport &report)
{
    QPrinter printer(QPrinter::HighResolution);
    prepareReportPrinter(printer, report);
    return writeReportPdf(path, report, printer);
}

FileResult writeReportPdf(const QString &path, const DoctorReport &report, QPrinter &printer)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return FileResult::failure(scratch.errorString());
    const QString printed = scratch.filePath(QStringLiteral("report.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    const bool done = printReport(printer, report);
    printer.setOutputFileName(path); // as the caller chose it
    if (!done)
        return FileResult::failure(QStringLiteral("the PDF could not be written"));
    QString error;
    const std::optional<QByteArray> bytes = readWholeFile(printed, &error);
    if (!bytes)
        return FileResult::failure(error);
    return saveFile(path, [&](QIODevice &device) { return writeAll(device, *bytes); }, {},
                    NewFileAccess::AsAnyNewFile); // made to be handed on
}

} // namespace velmora
