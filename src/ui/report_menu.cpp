#include "report_menu.h"

#include "chart/record_menu.h"
#include "file_dialogs.h"
#include "form1.h"
#include "print_dialog.h"
#include "report_export.h"
#include "trend_chart_view.h"
#include "twips.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

QString messages::exportFailed(const QString &reason)
{
    return QStringLiteral("导出失败，文件没有写入！\n（%1）").arg(reason);
}

namespace {

const char *MenuStyle = R"(
QMenu { background-color: white; border: 1px solid rgb(104, 160, 104); padding: 4px 0px; }
QMenu::item { padding: 5px 24px 5px 16px; color: rgb(16, 48, 16); }
QMenu::item:selected { background-color: rgb(192, 255, 192); }
QMenu::separator { height: 1px; background: rgb(200, 224, 200); margin: 4px 10px; }
)";

bool isEntryMark(const ChartMark &mark)
{
    return mark.kind == ChartMark::Kind::Rectangle || mark.kind == ChartMark::Kind::Circle;
}

bool isFourteenDigits(const QString &id)
{
    return id.size() == 14 && std::all_of(id.begin(), id.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

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

std::optional<int> entryAtChartPoint(const std::vector<ChartMark> &marks, QPointF twips, double tolerance)
{
    std::optional<int> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    double bestOffset = std::numeric_limits<double>::infinity(); // sideways from the mark's middle, for ties
    int entry = -1;
    for (const ChartMark &mark : marks) {
        if (!isEntryMark(mark))
            continue;
        ++entry;
        double distance = 0;
        double middle = 0;
        if (mark.kind == ChartMark::Kind::Rectangle) {
            const QRectF bar = QRectF(QPointF(mark.x1, mark.y1), QPointF(mark.x2, mark.y2)).normalized();
            const double dx = std::max({bar.left() - twips.x(), 0.0, twips.x() - bar.right()});
            const double dy = std::max({bar.top() - twips.y(), 0.0, twips.y() - bar.bottom()});
            distance = std::hypot(dx, dy);
            middle = bar.center().x();
        } else {
            distance = std::max(0.0, std::hypot(twips.x() - mark.x1, twips.y() - mark.y1) - mark.radius);
            middle = mark.x1;
        }
        const double offset = std::abs(twips.x() - middle);
        if (distance > tolerance)
            continue;
        if (distance < bestDistance || (distance == bestDistance && offset < bestOffset)) {
            best = entry;
            bestDistance = distance;
            bestOffset = offset;
        }
    }
    return best;
}

int chartEntryCount(const std::vector<ChartMark> &marks)
{
    return int(std::count_if(marks.begin(), marks.end(), isEntryMark));
}

QString chartMarkToolTip(const QString &recordId, double score)
{
    const QString when = isFourteenDigits(recordId) ? recordDateCaption(recordId) : recordId;
    return QStringLiteral("%1\n风险评分：%2").arg(when, scoreText(score));
}

ReportMenu::ReportMenu(Form1 &form, const DataFolder &folder, FileDialogs &dialogs, PrintDialog &printing,
                       MessageBoxes &messages)
    : QObject(&form), m_form(form), m_folder(folder), m_dialogs(dialogs), m_printing(printing), m_messages(messages)
{
    setObjectName(QStringLiteral("ReportMenu"));
    m_statement = form.findChild<QWidget *>(QStringLiteral("Image1"));
    m_menu = new QMenu(&form);
    m_menu->setObjectName(QStringLiteral("ReportMenuPopup"));
    m_menu->setStyleSheet(QString::fromLatin1(MenuStyle));
    m_chartImage = addAction(QStringLiteral("导出图表图片…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                             &ReportMenu::exportChartImage);
    m_recordTable = addAction(QStringLiteral("导出记录表格…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                              &ReportMenu::exportRecordTable);
    m_menu->addSeparator();
    m_print = addAction(QStringLiteral("打印…"), QKeySequence(Qt::CTRL | Qt::Key_P), &ReportMenu::print);
    m_reportPdf = addAction(QStringLiteral("导出 PDF…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                            &ReportMenu::exportReportPdf);
    m_chartImage->setObjectName(QStringLiteral("ExportChartImage"));
    m_recordTable->setObjectName(QStringLiteral("ExportRecordTable"));
    m_print->setObjectName(QStringLiteral("PrintReport"));
    m_reportPdf->setObjectName(QStringLiteral("ExportReportPdf"));
    m_chartImage->setToolTip(QStringLiteral("把图表连同标记存为 PNG 图片（两倍大小）"));
    m_recordTable->setToolTip(QStringLiteral("把当前用户的各次记录和风险评分存为电子表格可以打开的 CSV 文件"));
    m_print->setToolTip(QStringLiteral("把姓名、图表和各次记录排成一份 A4 报告，在打印机上打印出来"));
    m_reportPdf->setToolTip(QStringLiteral("把同一份 A4 报告存为 PDF 文件"));
}

QAction *ReportMenu::addAction(const QString &text, const QKeySequence &shortcut, void (ReportMenu::*slot)())
{
    auto *action = new QAction(text, this);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true); // the menu names the keys
    connect(action, &QAction::triggered, this, slot);
    m_menu->addAction(action);
    m_form.addAction(action); // the shortcut works anywhere in the window
    return action;
}

void ReportMenu::watch(QWidget *control)
{
    if (!control)
        return;
    control->installEventFilter(this);
    m_watched.push_back(control);
}

bool ReportMenu::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ContextMenu: {
        if (std::find(m_watched.begin(), m_watched.end(), watched) == m_watched.end())
            break;
        auto *request = static_cast<QContextMenuEvent *>(event);
        if (request->reason() == QContextMenuEvent::Mouse && (QGuiApplication::mouseButtons() & Qt::RightButton)) {
            // Asked for on the press: the release must still reach the window as
            // before (it ends a drag of the window, it clicks an entry label),
            // so the menu opens once the button is up.
            m_menuPosition = request->globalPos();
            if (!m_waitingForRelease) {
                m_waitingForRelease = true;
                qApp->installEventFilter(this);
            }
        } else {
            openMenu(request->globalPos());
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_waitingForRelease && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
            m_waitingForRelease = false;
            qApp->removeEventFilter(this);
            const QPoint at = m_menuPosition;
            QTimer::singleShot(0, this, [this, at] { openMenu(at); });
        }
        break;
    case QEvent::ToolTip:
        if (watched == m_form.chartView()) {
            auto *help = static_cast<QHelpEvent *>(event);
            const QString tip = toolTipAt(help->pos());
            if (tip.isEmpty()) {
                QToolTip::hideText();
                event->ignore();
            } else {
                QToolTip::showText(help->globalPos(), tip, m_form.chartView());
            }
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ReportMenu::openMenu(QPoint globalPosition)
{
    m_menu->popup(globalPosition);
}

QString ReportMenu::toolTipAt(QPointF chartPixels) const
{
    if (m_statement && m_statement->isVisible())
        return QString(); // the statement covers the chart
    const std::vector<ChartMark> &marks = m_form.chartMarks();
    const int count = std::min<int>(m_form.recordCount(), int(m_form.scoreColumn().size()));
    // The marks must be those of the table as it is now.
    if (count <= 0 || chartEntryCount(marks) != count)
        return QString();
    const QPointF twips = (chartPixels + QPointF(0.5, 0.5)) * twips::PerPixel;
    const std::optional<int> entry = entryAtChartPoint(marks, twips, HitTolerancePixels * twips::PerPixel);
    if (!entry || !m_form.recordTable().contains(*entry))
        return QString();
    const QString recordId = m_form.recordTable()[*entry][RecordIdField].displayText();
    return chartMarkToolTip(recordId, m_form.scoreColumn()[size_t(*entry)]);
}

bool ReportMenu::haveRecords()
{
    if (m_form.recordCount() > 0 && !m_form.tableUser().isEmpty())
        return true;
    m_messages.inform(messages::NothingToExport);
    return false;
}

QString ReportMenu::suggestedName(const QString &what, const QString &suffix) const
{
    return QStringLiteral("%1-%2-%3.%4")
        .arg(m_form.tableUser(), what, m_form.now().toString(QStringLiteral("yyyyMMdd")), suffix);
}

bool ReportMenu::isDataFile(const QString &path) const
{
    const QFileInfo target(path);
    if (target.suffix().compare(QStringLiteral("dat"), Qt::CaseInsensitive) != 0)
        return false;
    const QString folder = QFileInfo(m_folder.folder()).canonicalFilePath();
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
        const QByteArray png = chartPng(*m_form.chartView());
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
    const QByteArray csv = recordsCsv(recordSheet(m_form.recordTable(), m_form.recordCount(), m_form.scoreColumn()));
    tellIfFailed(saveFile(path, [&](QIODevice &device) { return writeAll(device, csv); }));
}

DoctorReport ReportMenu::currentReport() const
{
    DoctorReport report;
    report.userName = m_form.tableUser();
    report.date = m_form.now().date();
    report.chart = m_form.chartView()->renderChart(2.0);
    report.sheet = recordSheet(m_form.recordTable(), m_form.recordCount(), m_form.scoreColumn());
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

ReportMenu *installReportMenu(Form1 &form, const DataFolder &folder, FileDialogs &dialogs, PrintDialog &printing,
                              MessageBoxes &messages)
{
    auto *reports = new ReportMenu(form, folder, dialogs, printing, messages);
    reports->watch(form.chartView());
    reports->watch(form.findChild<QWidget *>(QStringLiteral("Image4")));
    for (int j = 0; j < menu::LabelCount; ++j)
        reports->watch(form.findChild<QWidget *>(QStringLiteral("Label4(%1)").arg(j)));
    return reports;
}

} // namespace velmora
