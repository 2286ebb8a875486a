#pragma once

// The reports for the doctor, reached from a context menu on the chart and on
// the column of entries, and from shortcuts of the main window; and the
// tooltip that names the record under a mark of the chart.

#include "chart/trend_chart.h"
#include "records/text_file.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace velmora {

class DataFolder;
class FileDialogs;
class Form1;
class MessageBoxes;
class PrintDialog;
struct DoctorReport;

namespace messages {
inline const QString NothingToExport = QStringLiteral("没有可导出的记录，请先显示数据！");
inline const QString NotOverDataFile =
    QStringLiteral("不能用导出的文件替换程序的数据文件（.dat），请换一个文件名或文件夹！");
QString exportFailed(const QString &reason);
inline const QString PrintFailed = QStringLiteral("打印没有完成，请检查打印机后再试！");
} // namespace messages

// The position of the entry whose mark is nearest to a point of the chart
// (twips from the chart's corner), if one lies within `tolerance` twips of it:
// a bar's rectangle or a circle's disc. Bars and circles are counted in
// order, entry 0 first; lines and points belong to the circles.
std::optional<int> entryAtChartPoint(const std::vector<ChartMark> &marks, QPointF twips, double tolerance);

// The number of entries the marks show.
int chartEntryCount(const std::vector<ChartMark> &marks);

// "2009年06月20日21时01分29秒\n风险评分：3056.66"; an id that is not a date stands as it is.
QString chartMarkToolTip(const QString &recordId, double score);

class ReportMenu : public QObject
{
    Q_OBJECT
public:
    // Pointers nearer to a mark than this, in pixels, show its tooltip.
    static constexpr double HitTolerancePixels = 4;

    ReportMenu(Form1 &form, const DataFolder &folder, FileDialogs &dialogs, PrintDialog &printing,
               MessageBoxes &messages);

    QMenu *menu() const { return m_menu; }
    QAction *chartImageAction() const { return m_chartImage; }
    QAction *recordTableAction() const { return m_recordTable; }
    QAction *printAction() const { return m_print; }
    QAction *reportPdfAction() const { return m_reportPdf; }

    // Adds the context menu to a control of the window.
    void watch(QWidget *control);

    // The tooltip at a point of the chart area, in its pixels; empty over no mark.
    QString toolTipAt(QPointF chartPixels) const;

    void exportChartImage();
    void exportRecordTable();
    void print();
    void exportReportPdf();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addAction(const QString &text, const QKeySequence &shortcut, void (ReportMenu::*slot)());
    void openMenu(QPoint globalPosition);
    bool haveRecords();
    QString suggestedName(const QString &what, const QString &suffix) const;
    QString chooseTarget(const QString &caption, const QString &what, const QString &suffix, const QString &filter);
    bool isDataFile(const QString &path) const;
    bool refuseDataFile(const QString &path);
    DoctorReport currentReport() const;
    void tellIfFailed(const FileResult &saved);

    Form1 &m_form;
    const DataFolder &m_folder;
    FileDialogs &m_dialogs;
    PrintDialog &m_printing;
    MessageBoxes &m_messages;
    QPointer<QWidget> m_statement; // Image1: over the chart when shown
    std::vector<QObject *> m_watched;
    QMenu *m_menu = nullptr;
    QAction *m_chartImage = nullptr;
    QAction *m_recordTable = nullptr;
    QAction *m_print = nullptr;
    QAction *m_reportPdf = nullptr;
    bool m_waitingForRelease = false;
    QPoint m_menuPosition;
};

// Adds the report menu to the chart area Picture1, the entry labels Label4(0)
// .. Label4(19) and the area Image4 behind them, and its shortcuts to the window.
ReportMenu *installReportMenu(Form1 &form, const DataFolder &folder, FileDialogs &dialogs, PrintDialog &printing,
                              MessageBoxes &messages);

} // namespace velmora
