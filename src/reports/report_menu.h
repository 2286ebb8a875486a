#pragma once

// The reports for the doctor, reached from the context menu of the chart and
// of the column of records, and from shortcuts of the main window.

#include "analysis/period.h"
#include "chart/trend_chart.h"
#include "reports/export_files.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QImage;

namespace velmora {

class ContextMenu;
class DataFolder;
class Diary;
class FileDialogs;
class MessageBoxes;
class PeriodDialog;
class PrintDialog;
struct DoctorReport;
struct RecordSheet;

namespace messages {
inline const QString NothingToExport = QStringLiteral("没有可导出的记录，请先显示数据！");
inline const QString NothingInPeriod = QStringLiteral("所选时段内没有记录，请另选时段！");
} // namespace messages

class ReportMenu : public QObject
{
    Q_OBJECT
public:
    // The chart area with these marks, at a scale.
    using ChartPicture = std::function<QImage(qreal scale, const std::vector<ChartMark> &marks)>;

    ReportMenu(ContextMenu &menu, const Diary &diary, ChartPicture chart, FileDialogs &dialogs, PrintDialog &printing,
               PeriodDialog &periods, MessageBoxes &messages);

    QAction *chartImageAction() const { return m_chartImage; }
    QAction *recordTableAction() const { return m_recordTable; }
    QAction *printAction() const { return m_print; }
    QAction *reportPdfAction() const { return m_reportPdf; }

    void exportChartImage();
    void exportRecordTable();
    void print();
    void exportReportPdf();

private:
    // The period a report covers and its records.
    struct Scope
    {
        Period period;
        RecordHistory records;
    };

    bool haveRecords();
    std::optional<Scope> chooseScope(const QString &caption);
    QImage chartOf(const Scope &scope) const;
    QString chooseTarget(const QString &caption, const QString &what, const QString &suffix, const QString &filter);
    DoctorReport currentReport(const Scope &scope) const;
    void addMedicineSection(DoctorReport &report, const Period &period, const RecordHistory &records) const;
    // Marks the values above the model's thresholds and adds the risk band of each row.
    void markAboveThresholds(RecordSheet &sheet, const std::vector<int> &positions) const;

    const Diary &m_diary;
    ChartPicture m_chart;
    PeriodDialog &m_periods;
    MessageBoxes &m_messages;
    Exports m_exports;
    QAction *m_chartImage = nullptr;
    QAction *m_recordTable = nullptr;
    QAction *m_print = nullptr;
    QAction *m_reportPdf = nullptr;
};

} // namespace velmora
