#include "reports/home_bp_pdf.h"

#include "reports/export_files.h"
#include "reports/page_canvas.h"
#include "reports/report_colours.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

using colours::Brand;
using colours::Ink;
using colours::MarkedInk;
using colours::Muted;

constexpr double TableTop = page::TitleBlockBottom + 8;
constexpr double HeaderHeight = 7;
constexpr double LineHeight = 4.4;
constexpr double CellPadding = 0.8;
constexpr double DateWidth = 30;
constexpr double SummaryRoom = 72; // the means, the sentences and what they are, below the table

class HomeBpPainter : PageCanvas
{
public:
    HomeBpPainter(QPrinter &printer, QPainter &painter, const HomeBpPage &page)
        : PageCanvas(printer, painter), m_page(page)
    {
    }

    void paint()
    {
        fitToPaper();
        const int copies = m_printer.supportsMultipleCopies() ? 1 : std::max(m_printer.copyCount(), 1);
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0)
                m_printer.newPage();
            paintPage();
        }
    }

private:
    void paintPage()
    {
        const HomeWeekSheet &week = m_page.week;
        titleBlock(QStringLiteral("家庭血压报告"), m_page.date, m_page.userName,
                   QStringLiteral("监测周：%1").arg(week.week));
        heading(page::TitleBlockBottom + 1, QStringLiteral("每日读数"),
                QStringLiteral("每次读数：时间 收缩压/舒张压（mmHg）；灰色的日子不计入平均"));
        const double below = paintDays(TableTop);
        paintSummary(below + 4);
        footer(1, 1);
    }

    double columnWidth(int column) const
    {
        return column == 0 ? DateWidth : (page::Width - DateWidth) / SessionCount;
    }

    // The readings of a cell in lines, as many to a line as fit; past
    // maxLines the last line says how many there are.
    QStringList cellLines(const QStringList &readings, double width, int maxLines) const
    {
        const QFont f = font(7.5);
        const QString gap = QStringLiteral("  ");
        QStringList lines;
        for (const QString &reading : readings) {
            if (!lines.isEmpty() && textWidth(f, lines.last() + gap + reading) <= width)
                lines.last() += gap + reading;
            else
                lines << reading;
        }
        if (lines.size() > maxLines) {
            lines.resize(maxLines);
            lines.last() = QStringLiteral("……共 %1 次").arg(readings.size());
        }
        return lines;
    }

    // The day table; gives its bottom.
    double paintDays(double top)
    {
        const HomeWeekSheet &week = m_page.week;
        const double room = page::FooterTop - SummaryRoom - top - HeaderHeight;
        const int maxLines = std::max(2, int(std::floor((room / 7 - 2 * CellPadding) / LineHeight)));
        m_painter.fillRect(mm(0, top, page::Width, HeaderHeight), colours::HeaderFill);
        double x = 0;
        for (int c = 0; c <= SessionCount; ++c) {
            text(mm(x, top, columnWidth(c), HeaderHeight), font(7.5, true), Brand, Qt::AlignCenter,
                 week.titles[size_t(c)]);
            x += columnWidth(c);
        }
        rule(top + HeaderHeight - 0.3, 0.3, colours::Accent);
        double y = top + HeaderHeight;
        for (size_t d = 0; d < week.days.size(); ++d) {
            const HomeDayRow &day = week.days[d];
            std::array<QStringList, 1 + SessionCount> cells;
            cells[0] = QStringList{day.date};
            if (!day.counted)
                cells[0] << QStringLiteral("不计入平均");
            for (int c = 1; c <= SessionCount; ++c)
                cells[size_t(c)] = cellLines(day.readings[size_t(c - 1)], columnWidth(c) - 2 * CellPadding, maxLines);
            qsizetype lines = 1;
            for (const QStringList &cell : cells)
                lines = std::max(lines, cell.size());
            const double height = double(lines) * LineHeight + 2 * CellPadding;
            if (d % 2 == 1)
                m_painter.fillRect(mm(0, y, page::Width, height), colours::StripeFill);
            x = 0;
            for (int c = 0; c <= SessionCount; ++c) {
                text(mm(x + CellPadding, y + CellPadding, columnWidth(c) - 2 * CellPadding, height),
                     font(7.5, c == 0 && day.counted), day.counted ? Ink : Muted, Qt::AlignLeft | Qt::AlignTop,
                     cells[size_t(c)].join(u'\n'));
                x += columnWidth(c);
            }
            y += height;
            rule(y - 0.15, 0.15, colours::Rule);
        }
        return y;
    }

    void paintSummary(double top)
    {
        const HomeWeekSheet &week = m_page.week;
        heading(top, QStringLiteral("七天平均"), QStringLiteral("不计入平均的日子和其他时间的读数只列出，不平均"));
        double y = top + 7;
        for (const QString &line : week.means) {
            text(mm(0, y, page::Width, 5), font(9), Ink, Qt::AlignLeft | Qt::AlignVCenter, line);
            y += 5;
        }
        y += 1;
        text(mm(0, y, page::Width, 5.5), font(9.5, true), week.above ? MarkedInk : Brand,
             Qt::AlignLeft | Qt::AlignVCenter, week.verdict);
        y += 5.5;
        if (!week.shortfall.isEmpty()) {
            text(mm(0, y, page::Width, 5), font(9), Ink, Qt::AlignLeft | Qt::AlignVCenter, week.shortfall);
            y += 5;
        }
        if (!week.medicines.isEmpty()) {
            const QRectF room = mm(0, y + 1, page::Width, 10);
            text(room, font(9), Ink, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, week.medicines);
            y += 1 + QFontMetricsF(font(9), &m_printer).boundingRect(room, Qt::TextWordWrap, week.medicines).height() / m_perMm;
        }
        text(mm(0, y + 1, page::Width, page::FooterTop - y - 1), font(8), Muted,
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, week.about);
    }

    const HomeBpPage &m_page;
};

} // namespace

void prepareHomeBpPrinter(QPrinter &printer, const HomeBpPage &page)
{
    preparePagePrinter(printer, QStringLiteral("家庭血压报告 %1 %2").arg(page.userName, dateCaption(page.date)));
}

bool printHomeBpPage(QPrinter &printer, const HomeBpPage &page)
{
    return printPages(printer, [&](QPainter &painter) { HomeBpPainter(printer, painter, page).paint(); });
}

FileResult writeHomeBpPdf(const QString &path, const HomeBpPage &page)
{
    QPrinter printer(QPrinter::HighResolution);
    prepareHomeBpPrinter(printer, page);
    return writePdfFile(path, printer, [&](QPrinter &chosen) { return printHomeBpPage(chosen, page); });
}

} // namespace velmora
