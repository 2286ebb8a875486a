#pragma once

// Home blood pressure in the context menu of the chart and of the column of
// records: readings typed in (the window's dialog), the seven-day average of a
// monitoring week with its A4 page, and the readings as a table for
// spreadsheets. All of them are about the current user.

#include "readings/bp_file.h"
#include "readings/home_week.h"
#include "reports/export_files.h"
#include "reports/home_bp_pdf.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QWidget;

namespace velmora {

class ContextMenu;
class Diary;
class FileDialogs;
class HomeBpWindow;
class MessageBoxes;
class PrintDialog;

namespace messages {
inline const QString NoReadings = QStringLiteral("还没有血压读数，请先用“记录血压…”（Ctrl+B）记下读数！");
} // namespace messages

class HomeBpMenu : public QObject
{
    Q_OBJECT
public:
    // 记录血压…: the window's dialog, storing through the diary.
    using RecordReadings = std::function<void()>;

    HomeBpMenu(ContextMenu &menu, const Diary &diary, RecordReadings record, FileDialogs &dialogs,
               PrintDialog &printing, MessageBoxes &messages, QWidget &window);

    QAction *recordAction() const { return m_record; }
    QAction *reportAction() const { return m_report; }
    QAction *exportAction() const { return m_export; }

    // 家庭血压报告…: the window of the latest monitoring week.
    void showReport();
    // 导出血压读数…: the readings as CSV.
    void exportReadings();

    HomeBpWindow *reportWindow() const;

private:
    // The current user's readings; none (a message has said why) without a
    // user, when the file cannot be read or when it holds no reading.
    const BpFile *currentReadings();
    void showWeek();
    HomeWeekSheet sheetOf(std::span<const BpReading> readings, const WeekChoice &choice) const;
    HomeBpPage currentPage() const;
    void printReport();
    void exportReportPdf();

    const Diary &m_diary;
    QWidget &m_parent;
    MessageBoxes &m_messages;
    Exports m_exports;
    QAction *m_record = nullptr;
    QAction *m_report = nullptr;
    QAction *m_export = nullptr;
    QPointer<HomeBpWindow> m_window;
    QString m_user;             // whose week the window shows
    MonitoringWindows m_windows; // the person's last choice, kept while the program runs
    int m_daysLeftOut = 1;
};

} // namespace velmora
