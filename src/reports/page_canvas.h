#pragma once

// The A4 pages of the reports, printed or saved as PDF: their layout measured
// in millimetres from the top left of the printable area, the faces and texts,
// and what every page has (the title block, the footer with the reminder that
// nothing here is a diagnosis).

#include <QColor>
#include <QDate>
#include <QFont>
#include <QRectF>
#include <QStringList>

#include <functional>

class QPainter;
class QPrinter;

namespace velmora {

namespace page {
constexpr double MarginLeft = 16, MarginTop = 14, MarginRight = 16, MarginBottom = 12;
constexpr double Width = 210 - MarginLeft - MarginRight;  // 178
constexpr double Height = 297 - MarginTop - MarginBottom; // 271
constexpr double FooterTop = Height - 15;
constexpr double TitleBlockBottom = 29.5; // below the title block's rule
} // namespace page

// "2024年11月21日".
QString dateCaption(const QDate &date);

// Makes the printer ready for a report: A4 upright with the reports' margins
// (the print dialog may change them), and the document's name.
void preparePagePrinter(QPrinter &printer, const QString &documentName);

// Begins painting on the printer, lets `paint` paint, and ends; false when
// the printer could not be started or finished.
bool printPages(QPrinter &printer, const std::function<void(QPainter &)> &paint);

class PageCanvas
{
public:
    PageCanvas(QPrinter &printer, QPainter &painter);

protected:
    // The layout is made for A4; smaller paper gets it shrunk to its printable area.
    void fitToPaper();

    QRectF mm(double x, double y, double w, double h) const
    {
        return QRectF(x * m_perMm, y * m_perMm, w * m_perMm, h * m_perMm);
    }
    double px(double millimetres) const { return millimetres * m_perMm; }
    QFont font(double points, bool bold = false) const;
    // Width in millimetres of a text in a font.
    double textWidth(const QFont &f, const QString &text) const;
    void text(const QRectF &rect, const QFont &f, const QColor &colour, int flags, const QString &s);
    void rule(double y, double thickness, const QColor &colour);
    void heading(double top, const QString &title, const QString &note);
    // The program's name and the report's date, the title, the person's name
    // and, at the right, what the report covers; a rule below.
    void titleBlock(const QString &title, const QDate &date, const QString &name, const QString &covers);
    // The reminder that nothing here is a diagnosis, and the page's number.
    void footer(int number, int pages);

    QPrinter &m_printer;
    QPainter &m_painter;
    double m_perMm;
    QStringList m_families;
};

} // namespace velmora
