#pragma once

// The home blood pressure report on one A4 page, printed or saved as PDF:
// the person, the monitoring week, the readings of each day, the means and
// the sentences that say what they are.

#include "readings/home_week_sheet.h"
#include "records/text_file.h"

#include <QDate>

class QPrinter;

namespace velmora {

struct HomeBpPage
{
    QString userName;
    QDate date; // the day the report is made
    HomeWeekSheet week;
};

// A4 upright with the reports' margins, named "家庭血压报告 Ann 2024年11月21日".
void prepareHomeBpPrinter(QPrinter &printer, const HomeBpPage &page);
// Prints the page (once for each copy the printer does not make itself);
// false when the printer could not be started or finished.
bool printHomeBpPage(QPrinter &printer, const HomeBpPage &page);
// The page as a PDF file on A4, through the one save routine.
FileResult writeHomeBpPdf(const QString &path, const HomeBpPage &page);

} // namespace velmora
