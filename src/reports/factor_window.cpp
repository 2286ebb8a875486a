#include "reports/factor_window.h"

#include "medicines/medicine_report.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {
constexpr int ChartColumns = 3;
}

FactorChartsView::FactorChartsView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FactorCharts"));
    setMinimumSize(600, 560);
    setAccessibleDescription(QStringLiteral("双击一幅图可单独放大显示，再双击恢复"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void FactorChartsView::setCharts(std::vector<TimeChart> charts, TimeAxis axis)
{
    m_charts = std::move(charts);
    m_axis = axis;
    if (m_enlarged >= int(m_charts.size()))
        m_enlarged = -1;
    update();
}

void FactorChartsView::setEnlarged(int chart)
{
    m_enlarged = chart >= 0 && chart < int(m_charts.size()) ? chart : -1;
    update();
}

QRectF FactorChartsView::cellOf(size_t chart) const
{
    const int rows = (int(m_charts.size()) + ChartColumns - 1) / ChartColumns;
    const QSizeF cell(width() / double(ChartColumns), height() / double(std::max(rows, 1)));
    return QRectF(QPointF(double(chart % ChartColumns) * cell.width(), double(chart / ChartColumns) * cell.height()), cell);
}

void FactorChartsView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ChartLook look{font(), logicalDpiX() / 25.4};
    if (m_enlarged >= 0) {
        paintTimeChart(painter, QRectF(rect()).adjusted(8, 8, -8, -8), m_charts[size_t(m_enlarged)], m_axis, look);
        return;
    }
    for (size_t k = 0; k < m_charts.size(); ++k)
        paintTimeChart(painter, cellOf(k).adjusted(4, 4, -4, -4), m_charts[k], m_axis, look);
}

void FactorChartsView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_enlarged >= 0) {
        setEnlarged(-1);
        return;
    }
    for (size_t k = 0; k < m_charts.size(); ++k)
        if (cellOf(k).contains(event->position()))
            setEnlarged(int(k));
}

FactorWindow::FactorWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FactorWindow"));
    setWindowTitle(QStringLiteral("因素趋势"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_charts = new FactorChartsView;
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("FactorSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_figures = new QTableWidget;
    m_figures->setObjectName(QStringLiteral("FactorFigures"));
    m_figures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_figures->verticalHeader()->hide();
    m_figures->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_figures->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QFont small = m_figures->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_figures->setFont(small);
    m_medicines = new QPlainTextEdit;
    m_medicines->setObjectName(QStringLiteral("MedicineEffects"));
    m_medicines->setAccessibleName(QStringLiteral("用药变化与前后血压"));
    m_medicines->setReadOnly(true);
    m_medicines->setFont(small);
    auto *change = new QPushButton(QStringLiteral("更改时段…"));
    change->setObjectName(QStringLiteral("ChangePeriod"));
    auto *close = new QPushButton(QStringLiteral("关闭"));
    connect(change, &QPushButton::clicked, this, &FactorWindow::periodChangeRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto *side = new QVBoxLayout;
    side->addWidget(m_summary);
    side->addWidget(m_figures, 1);
    side->addWidget(m_medicines, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(change);
    buttons->addWidget(close);
    side->addLayout(buttons);
    auto *hint = new QLabel(m_charts->accessibleDescription());
    hint->setFont(small);
    auto *charts = new QVBoxLayout;
    charts->addWidget(m_charts, 1);
    charts->addWidget(hint);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(charts, 3);
    layout->addLayout(side, 2);
    resize(1000, 640);
}

void FactorWindow::showPeriod(const QString &userName, const RecordHistory &history, const Period &period,
                              const CvdAnswers &answers, std::span<const MedicineEvent> medicines,
                              std::span<const BpReading> homeReadings)
{
    const RecordHistory within = inPeriod(history, period);
    const std::vector<BpReading> readings = readingsWithin(homeReadings, period.from, period.to);
    const PeriodStatistics statistics = periodStatistics(within);
    setWindowTitle(QStringLiteral("因素趋势 - %1").arg(userName));
    QString summary = QStringLiteral("%1　时段：%2\n%3").arg(userName, periodText(period), recordCountText(statistics));
    if (!readings.empty())
        summary += QStringLiteral("\n家庭血压读数 %1 次").arg(readings.size());
    m_summary->setText(summary);
    const StatisticsSheet sheet = statisticsSheet(statistics);
    m_figures->clear();
    m_figures->setColumnCount(int(sheet.titles.size()));
    m_figures->setRowCount(int(sheet.rows.size()));
    m_figures->setHorizontalHeaderLabels(sheet.titles);
    for (int r = 0; r < int(sheet.rows.size()); ++r)
        for (int c = 0; c < int(sheet.titles.size()); ++c)
            m_figures->setItem(r, c, new QTableWidgetItem(sheet.rows[size_t(r)].value(c)));
    m_figures->hideColumn(1); // the units stand in the charts' titles
    std::vector<TimeChart> charts = periodCharts(within, readings);
    charts.push_back(cvdRiskTimeChart(within, answers));
    addMedicines(charts, medicines, period.from, period.to);
    const TimeAxis axis = withMedicines(timeAxisOf(within, period, readings), period, charts);
    m_charts->setCharts(std::move(charts), axis);
    // Beside the pressure charts: the changes of the period, the pressure before and after each.
    const std::vector<BpReading> pressures = allReadings(homeReadings, checkUpReadings(history));
    const MedicineSection section = medicineSection(medicines, pressures, period.from, period.to);
    m_medicines->setVisible(!medicines.empty());
    m_medicines->setPlainText(QStringLiteral("用药变化与前后血压（时段内）：\n%1\n\n%2")
                             .arg(section.changes.isEmpty() ? QStringLiteral("无") : section.changes.join(u'\n'),
                                  medicineEffectAbout()));
}

QString FactorWindow::summaryText() const
{
    return m_summary->text();
}

QString FactorWindow::medicineText() const
{
    return m_medicines->toPlainText();
}

} // namespace velmora
