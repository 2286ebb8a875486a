#include "reports/home_bp_menu.h"

#include "diary/diary.h"
#include "medicines/medicine_plan.h"
#include "readings/bp_csv.h"
#include "reports/home_bp_window.h"
#include "widgets/context_menu.h"

#include <QAction>
#include <QPrinter>

namespace velmora {

HomeBpMenu::HomeBpMenu(ContextMenu &menu, const Diary &diary, RecordReadings record, FileDialogs &dialogs,
                       PrintDialog &printing, MessageBoxes &messages, QWidget &window)
    : QObject(&menu), m_diary(diary), m_parent(window), m_messages(messages),
      m_exports(diary.folder(), dialogs, printing, messages)
{
    setObjectName(QStringLiteral("HomeBpMenu"));
    menu.addSeparator();
    m_record = menu.addAction(QStringLiteral("记录血压…"), QKeySequence(Qt::CTRL | Qt::Key_B), std::move(record));
    m_report = menu.addAction(QStringLiteral("家庭血压报告…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B),
                              [this] { showReport(); });
    m_export = menu.addAction(QStringLiteral("导出血压读数…"), {}, [this] { exportReadings(); });
    m_record->setObjectName(QStringLiteral("RecordBloodPressure"));
    m_report->setObjectName(QStringLiteral("HomeBpReport"));
    m_export->setObjectName(QStringLiteral("ExportBpReadings"));
    m_record->setToolTip(QStringLiteral("记下在家量得的血压和脉搏，每次一条，存入当前用户的血压读数"));
    m_report->setToolTip(QStringLiteral("一个监测周的早晚读数和按指南方法算出的平均值"));
    m_export->setToolTip(QStringLiteral("把当前用户的血压读数存为电子表格可以打开的 CSV 文件"));
}

HomeBpWindow *HomeBpMenu::reportWindow() const
{
    return m_window;
}

const BpFile *HomeBpMenu::currentReadings()
{
    if (m_diary.refuseWithoutUser())
        return nullptr;
    const BpFile *readings = m_diary.homeReadings(m_diary.currentUser());
    if (readings && readings->entries.empty()) {
        m_messages.inform(messages::NoReadings);
        return nullptr;
    }
    return readings;
}

void HomeBpMenu::showReport()
{
    const BpFile *readings = currentReadings();
    if (!readings)
        return;
    m_user = m_diary.currentUser();
    if (!m_window) {
        m_window = new HomeBpWindow(&m_parent);
        connect(m_window, &HomeBpWindow::choiceChanged, this, [this] {
            m_windows = m_window->choice().windows;
            m_daysLeftOut = m_window->choice().daysLeftOut;
            showWeek();
        });
        connect(m_window, &HomeBpWindow::printRequested, this, &HomeBpMenu::printReport);
        connect(m_window, &HomeBpWindow::pdfRequested, this, &HomeBpMenu::exportReportPdf);
    }
    const WeekChoice latest{defaultFirstDay(readings->entries, m_windows), m_daysLeftOut, m_windows};
    m_window->showWeek(m_user, sheetOf(readings->entries, latest), latest);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

// The week the window's controls choose, from the readings as the file holds them now.
void HomeBpMenu::showWeek()
{
    const BpFile *readings = m_diary.homeReadings(m_user);
    const WeekChoice choice = m_window->choice();
    const std::span<const BpReading> entries = readings ? readings->entries : std::span<const BpReading>();
    m_window->showWeek(m_user, sheetOf(entries, choice), choice);
}

// The week's texts, with the medicines taken during it when the person keeps them.
HomeWeekSheet HomeBpMenu::sheetOf(std::span<const BpReading> readings, const WeekChoice &choice) const
{
    HomeWeekSheet sheet = homeWeekSheet(homeWeek(readings, choice));
    const MedicineFile *medicines = m_diary.medicines(m_user);
    if (medicines && !medicines->entries.empty())
        sheet.medicines = QStringLiteral("监测周内用药：%1")
                              .arg(planDuringText(medicines->entries, choice.first, choice.first.addDays(6)));
    return sheet;
}

HomeBpPage HomeBpMenu::currentPage() const
{
    return {m_user, m_diary.now().date(), m_window->sheet()};
}

void HomeBpMenu::printReport()
{
    const HomeBpPage page = currentPage();
    QPrinter printer(QPrinter::HighResolution);
    prepareHomeBpPrinter(printer, page);
    m_exports.print(printer, 1, [&](QPrinter &chosen) { return printHomeBpPage(chosen, page); });
}

void HomeBpMenu::exportReportPdf()
{
    const HomeBpPage page = currentPage();
    const QString path = m_exports.chooseTarget(
        QStringLiteral("导出 PDF"), exportFileName(m_user, QStringLiteral("家庭血压报告"), page.date, QStringLiteral("pdf")),
        QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    FileResult saved;
    {
        BusyCursor busy;
        saved = writeHomeBpPdf(path, page);
    }
    m_exports.tellIfFailed(saved);
}

void HomeBpMenu::exportReadings()
{
    const BpFile *readings = currentReadings();
    if (!readings)
        return;
    const QString user = m_diary.currentUser();
    const QByteArray csv = bpReadingsCsv(readings->entries); // before the dialog: the cache may be read again
    const QString path = m_exports.chooseTarget(
        QStringLiteral("导出血压读数"),
        exportFileName(user, QStringLiteral("血压读数"), m_diary.now().date(), QStringLiteral("csv")),
        QStringLiteral("CSV 表格 (*.csv)"));
    if (!path.isEmpty())
        m_exports.save(path, csv);
}

} // namespace velmora
