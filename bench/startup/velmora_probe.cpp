// The program's own start-up, as in main(), with the program folder given as
// the first argument; it ends once the main window has been painted.

#include "analysis_menu.h"
#include "file_dialogs.h"
#include "fonts.h"
#include "form1.h"
#include "period_dialog.h"
#include "print_dialog.h"
#include "probe_common.h"
#include "report_menu.h"
#include "seams.h"
#include "translations.h"
#include "trend_chart_view.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    velmora::installFonts();
    velmora::installQtTranslation();
    velmora::QtMessageBoxes messageBoxes;
    velmora::DataFolder folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QApplication::applicationDirPath());
    velmora::Form1 form1(folder, messageBoxes, velmora::systemClock);
    messageBoxes.setParent(&form1);
    velmora::QtFileDialogs fileDialogs(&form1);
    velmora::QtPrintDialog printDialog(&form1);
    velmora::QtPeriodDialog periodDialog(&form1);
    const velmora::ReportMenu reports(
        form1.contextMenu(), form1.diary(),
        [&form1](qreal scale, const std::vector<velmora::ChartMark> &marks) {
            return form1.chartView()->renderChart(scale, marks);
        },
        fileDialogs, printDialog, periodDialog, messageBoxes);
    const velmora::AnalysisMenu analysis(form1.contextMenu(), form1.diary(), periodDialog, messageBoxes, form1);
    if (!form1.load())
        return 1;
    QuitAfterFirstPaint quit;
    form1.installEventFilter(&quit);
    form1.show();
    return QApplication::exec();
}
