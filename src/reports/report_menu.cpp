#include "report_menu.h"

#include "context_menu.h"
#include "diary/diary.h"
#include "file_dialogs.h"
#include "print_dialog.h"
#include "report_pdf.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>

namespace velmora {

QString messages::exportFailed(const QString &reason)
{
    return QStringLiteral("导出失败，文件没有写入！\n（%1）").arg(reason);
}

namespace {

// Shows the wait cursor while an export is being made.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

ReportMenu::ReportMenu(ContextMenu &menu, const Diary &diary, ChartPicture chart, FileDialogs &dialogs,
                       PrintDialog &printing, MessageBoxes &messages)
    : QObject(&menu), m_diary(diary), m_chart(std::move(chart)), m_dialogs(dialogs), m_printing(printing),
      m_messages(messages)
{
    setObjectName(QStringLiteral("ReportMenu"));
    m_chartImage = menu.addAction(QStringLiteral("导出图表图片…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                                  [this] { exportChartImage(); });
    m_recordTable = menu.addAction(QStringLiteral("导出记录表格…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                                   [this] { exportRecordTable(); });
    menu.addSeparator();
    m_print = menu.addAction(QStringLiteral("打印…"), QKeySequence(Qt::CTRL | Qt::Key_P), [this] { print(); });
    m_reportPdf = menu.addAction(QStringLiteral("导出 PDF…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                                 [this] { exportReportPdf(); });
    m_chartImage->setObjectName(QStringLiteral("ExportChartImage"));
    m_recordTable->setObjectName(QStringLiteral("ExportRecordTable"));
    m_print->setObjectName(QStringLiteral("PrintReport"));
    m_reportPdf->setObjectName(QStringLiteral("ExportReportPdf"));
    m_chartImage->setToolTip(QStringLiteral("把图表连同标记存为 PNG 图片（两倍大小）"));
    m_recordTable->setToolTip(QStringLiteral("把当前用户的各次记录和风险评分存为电子表格可以打开的 CSV 文件"));
    m_print->setToolTip(QStringLiteral("把姓名、图表和各次记录排成一份 A4 报告，在打印机上打印出来"));
    m_reportPdf->setToolTip(QStringLiteral("把同一份 A4 报告存为 PDF 文件"));
}

bool ReportMenu::haveRecords()
{
    if (m_diary.recordCount() > 0 && !m_diary.tableUser().isEmpty())
        return true;
    m_messages.inform(messages::NothingToExport);
    return false;
}

QString ReportMenu::suggestedName(const QString &what, const QString &suffix) const
{
    return QStringLiteral("%1-%2-%3.%4")
        .arg(m_diary.tableUser(), what, m_diary.now().toString(QStringLiteral("yyyyMMdd")), suffix);
}

bool ReportMenu::isDataFile(const QString &path) const
{
    const QFileInfo target(path);
    if (target.suffix().compare(QStringLiteral("dat"), Qt::CaseInsensitive) != 0)
        return false;
    const QString folder = QFileInfo(m_diary.folder().folder()).canonicalFilePath();
    const QString targetFolder = QFileInfo(target.absolutePath()).canonicalFilePath();
    return !folder.isEmpty() && folder == targetFolder;
}

bool ReportMenu::refuseDataFile(const QString &path)
{
    if (!isDataFile(path))
        return false;
    m_messages.inform(messages::NotOverDataFile);
    return true;
}

QString ReportMenu::chooseTarget(const QString &caption, const QString &what, const QString &suffix,
                                 const QString &filter)
{
    const QString path = m_dialogs.saveFileName(caption, suggestedName(what, suffix), filter);
    if (path.isEmpty() || refuseDataFile(path))
        return QString();
    return path;
}

void ReportMenu::tellIfFailed(const FileResult &saved)
{
    if (!saved)
        m_messages.inform(messages::exportFailed(saved.error));
}

void ReportMenu::exportChartImage()
{
    if (!haveRecords())
        return;
    const QString path = chooseTarget(QStringLiteral("导出图表图片"), QStringLiteral("趋势图"), QStringLiteral("png"),
                                      QStringLiteral("PNG 图片 (*.png)"));
    if (path.isEmpty())
        return;
    FileResult saved;
    {
        BusyCursor busy;
        const QByteArray png = pngBytes(m_chart(2.0));
        if (png.isEmpty())
            saved = FileResult::failure(QStringLiteral("the picture could not be made"));
        else
            saved = saveFile(path, [&](QIODevice &device) { return writeAll(device, png); });
    }
    tellIfFailed(saved);
}

void ReportMenu::exportRecordTable()
{
    if (!haveRecords())
        return;
    const QString path = chooseTarget(QStringLiteral("导出记录表格"), QStringLiteral("记录"), QStringLiteral("csv"),
                                      QStringLiteral("CSV 表格 (*.csv)"));
    if (path.isEmpty())
        return;
    const QByteArray csv = recordsCsv(recordSheet(m_diary.recordTable(), m_diary.recordCount(), m_diary.scoreColumn()));
    tellIfFailed(saveFile(path, [&](QIODevice &device) { return writeAll(device, csv); }));
}

DoctorReport ReportMenu::currentReport() const
{
    DoctorReport report;
    report.userName = m_diary.tableUser();
    report.date = m_diary.now().date();
    report.chart = m_chart(2.0);
    report.sheet = recordSheet(m_diary.recordTable(), m_diary.recordCount(), m_diary.scoreColumn());
    return report;
}

void ReportMenu::print()
{
    if (!haveRecords())
        return;
    const DoctorReport report = currentReport();
    QPrinter printer(QPrinter::HighResolution);
    prepareReportPrinter(printer, report);
    if (!m_printing.choosePrinter(printer, reportPageCount(int(report.sheet.rows.size()))))
        return;
    // Printing into a file is an export like the others: through the one save routine.
    const bool intoFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    if (intoFile && refuseDataFile(printer.outputFileName()))
        return;
    bool printed = true;
    FileResult saved;
    {
        BusyCursor busy;
        if (intoFile)
            saved = writeReportPdf(printer.outputFileName(), report, printer);
        else
            printed = printReport(printer, report);
    }
    tellIfFailed(saved);
    if (!printed)
        m_messages.inform(messages::PrintFailed);
}

void ReportMenu::exportReportPdf()
{
    if (!haveRecords())
        return;
    const QString path = chooseTarget(QStringLiteral("导出 PDF"), QStringLiteral("健康报告"),
                                      QStringLiteral("pdf"), QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    FileResult saved;
    {
        BusyCursor busy;
        saved = writeReportPdf(path, currentReport());
    }
    tellIfFailed(saved);
}

} // namespace velmora
