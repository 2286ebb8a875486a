#include "reports/factor_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
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
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void FactorChartsView::setCharts(std::vector<TimeChart> charts, TimeAxis axis)
{
    m_charts = std::move(charts);
    m_axis = axis;
    update();
}

void FactorChartsView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int rows = (int(m_charts.size()) + ChartColumns - 1) / ChartColumns;
    if (rows == 0)
        return;
    const QSizeF cell(width() / double(ChartColumns), height() / double(rows));
    const ChartLook look{font(), logicalDpiX() / 25.4};
    for (size_t k = 0; k < m_charts.size(); ++k) {
        const QRectF area(QPointF(double(k % ChartColumns) * cell.width(), double(k / ChartColumns) * cell.height()),
                          cell);
        paintTimeChart(painter, area.adjusted(4, 4, -4, -4), m_charts[k], m_axis, look);
    }
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
    auto *change = new QPushButton(QStringLiteral("更改时段…"));
    change->setObjectName(QStringLiteral("ChangePeriod"));
    auto *close = new QPushButton(QStringLiteral("关闭"));
    connect(change, &QPushButton::clicked, this, &FactorWindow::periodChangeRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto *side = new QVBoxLayout;
    side->addWidget(m_summary);
    side->addWidget(m_figures, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(change);
    buttons->addWidget(close);
    side->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_charts, 3);
    layout->addLayout(side, 2);
    resize(1000, 640);
}

void FactorWindow::showPeriod(const QString &userName, const RecordHistory &history, const Period &period,
                              const CvdAnswers &answers, std::span<const BpReading> homeReadings)
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
    m_charts->setCharts(std::move(charts), timeAxisOf(within, period, readings));
}

QString FactorWindow::summaryText() const
{
    return m_summary->text();
}

} // namespace velmora
