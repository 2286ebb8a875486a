#include "analysis_menu.h"
#include "file_dialogs.h"
#include "fonts.h"
#include "form1.h"
#include "history_menu.h"
#include "messages.h"
#include "past_record_dialog.h"
#include "period_dialog.h"
#include "print_dialog.h"
#include "records/program_folder.h"
#include "report_menu.h"
#include "seams.h"
#include "translations.h"
#include "trend_chart_view.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    velmora::installFonts();
    velmora::installQtTranslation();

    velmora::QtMessageBoxes messageBoxes;
    QString error;
    const auto folder = velmora::chooseProgramFolder(
        QApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), &error);
    if (!folder) {
        messageBoxes.inform(velmora::messages::noDataFolder(error));
        return 1;
    }

    velmora::DataFolder dataFolder(*folder);
    velmora::Form1 form1(dataFolder, messageBoxes, velmora::systemClock);
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

    // Reading the diary: the score explained, each factor over a period.
    const velmora::AnalysisMenu analysis(form1.contextMenu(), form1.diary(), periodDialog, messageBoxes, form1);

    // Keeping it for years: past measurements, one record deleted, undo, import.
    velmora::QtPastRecordDialog pastRecordDialog(&form1);
    const velmora::HistoryMenu history(form1, pastRecordDialog, fileDialogs, messageBoxes);
    if (!form1.load())
        return 1;
    QObject::connect(&form1, &velmora::Form1::exitRequested, &app, &QApplication::quit);
    form1.show();
    return QApplication::exec();
}
