#include "reports/page_canvas.h"

#include "reports/report_colours.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace velmora {

using colours::Accent;
using colours::Brand;
using colours::Ink;
using colours::Muted;

QString dateCaption(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy年MM月dd日"));
}

void preparePagePrinter(QPrinter &printer, const QString &documentName)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(page::MarginLeft, page::MarginTop, page::MarginRight,
                                                page::MarginBottom),
                                      QPageLayout::Millimeter));
    printer.setCreator(QStringLiteral("Velmora"));
    printer.setDocName(documentName);
}

bool printPages(QPrinter &printer, const std::function<void(QPainter &)> &paint)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paint(painter);
    return painter.end();
}

PageCanvas::PageCanvas(QPrinter &printer, QPainter &painter)
    : m_printer(printer), m_painter(painter), m_perMm(printer.resolution() / 25.4)
{
    // WenQuanYi Micro Hei first: each of its glyphs stands for one character,
    // so the PDF's text reads back as printed. Noto CJK gives the glyphs of
    // 血, 风, 日 ... to the Kangxi radicals too, and the PDF then reads
    // "⾎压/⾼". Then the Chinese faces of Windows and macOS, Noto CJK, and
    // the application font.
    m_families = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                  QStringLiteral("PingFang SC"), QStringLiteral("Noto Sans CJK SC"), QApplication::font().family()};
}

void PageCanvas::fitToPaper()
{
    const QRectF area = m_printer.pageRect(QPrinter::DevicePixel);
    const double fit = std::min({1.0, area.width() / px(page::Width), area.height() / px(page::Height)});
    if (fit < 1.0)
        m_painter.scale(fit, fit);
}

QFont PageCanvas::font(double points, bool bold) const
{
    QFont f;
    f.setFamilies(m_families);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

double PageCanvas::textWidth(const QFont &f, const QString &text) const
{
    return QFontMetricsF(f, &m_printer).horizontalAdvance(text) / m_perMm;
}

void PageCanvas::text(const QRectF &rect, const QFont &f, const QColor &colour, int flags, const QString &s)
{
    m_painter.setFont(f);
    m_painter.setPen(colour);
    m_painter.drawText(rect, flags, s);
}

void PageCanvas::rule(double y, double thickness, const QColor &colour)
{
    m_painter.fillRect(mm(0, y, page::Width, thickness), colour);
}

void PageCanvas::heading(double top, const QString &title, const QString &note)
{
    const QFont titleFont = font(11, true);
    text(mm(0, top, page::Width, 6), titleFont, Brand, Qt::AlignLeft | Qt::AlignVCenter, title);
    const double after = textWidth(titleFont, title) + 3;
    text(mm(after, top, page::Width - after, 6), font(7.5), Muted, Qt::AlignLeft | Qt::AlignVCenter, note);
}

void PageCanvas::titleBlock(const QString &title, const QDate &date, const QString &name, const QString &covers)
{
    const QFont small = font(8.5);
    const QFont brand = font(8.5, true);
    text(mm(0, 0, 60, 5), brand, Accent, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora"));
    const double after = textWidth(brand, QStringLiteral("Velmora")) + 1.5;
    text(mm(after, 0, 80, 5), small, Muted, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("· 心脑血管健康日记"));
    text(mm(0, 0, page::Width, 5), small, Muted, Qt::AlignRight | Qt::AlignVCenter,
         QStringLiteral("报告日期：%1").arg(dateCaption(date)));

    text(mm(0, 7, page::Width, 11), font(19, true), Brand, Qt::AlignLeft | Qt::AlignVCenter, title);

    const QFont label = font(10);
    const QFont value = font(10, true);
    const QString nameLabel = QStringLiteral("姓名：");
    text(mm(0, 19.5, 40, 6), label, Muted, Qt::AlignLeft | Qt::AlignVCenter, nameLabel);
    const double nameLeft = textWidth(label, nameLabel);
    text(mm(nameLeft, 19.5, 90, 6), value, Ink, Qt::AlignLeft | Qt::AlignVCenter, name);

    text(mm(0, 19.5, page::Width, 6), label, Ink, Qt::AlignRight | Qt::AlignVCenter, covers);
    rule(27.5, 0.6, Accent);
}

void PageCanvas::footer(int number, int pages)
{
    rule(page::FooterTop, 0.25, colours::Rule);
    const QString disclaimer = QStringLiteral(
        "声明：本报告中的数据与图表不能作为临床诊断的依据，仅供自我提醒与警示之用；"
        "任何结果都不能证明您患有或未患有心脑血管疾病。如有疑问，请及时就医。");
    text(mm(0, page::FooterTop + 1.5, page::Width - 28, 10), font(7.5), Muted,
         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, disclaimer);
    text(mm(page::Width - 26, page::FooterTop + 1.5, 26, 5), font(7.5), Muted, Qt::AlignRight | Qt::AlignTop,
         QStringLiteral("第 %1 / %2 页").arg(number).arg(pages));
}

} // namespace velmora
