#include "chart_tooltips.h"

#include "chart/chart_hits.h"
#include "diary/diary.h"
#include "twips.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace velmora {

ChartToolTips::ChartToolTips(const Diary &diary, QWidget &chart, const QWidget &statement)
    : QObject(&chart), m_diary(diary), m_chart(chart), m_statement(statement)
{
    chart.installEventFilter(this);
}

QString ChartToolTips::toolTipAt(QPointF chartPixels) const
{
    if (m_statement.isVisible())
        return QString(); // the statement covers the chart
    const std::vector<ChartMark> &marks = m_diary.chartMarks();
    const int count = std::min<int>(m_diary.recordCount(), int(m_diary.scoreColumn().size()));
    // The marks must be those of the table as it is now.
    if (count <= 0 || chartEntryCount(marks) != count)
        return QString();
    const QPointF twips = (chartPixels + QPointF(0.5, 0.5)) * twips::PerPixel;
    const std::optional<int> entry = entryAtChartPoint(marks, twips, HitTolerancePixels * twips::PerPixel);
    if (!entry)
        return QString();
    const QString recordId = m_diary.recordTable()[*entry][RecordIdField].displayText();
    return chartMarkToolTip(recordId, m_diary.scoreColumn()[size_t(*entry)]);
}

bool ChartToolTips::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip || watched != &m_chart)
        return QObject::eventFilter(watched, event);
    auto *help = static_cast<QHelpEvent *>(event);
    const QString tip = toolTipAt(help->pos());
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), tip, &m_chart);
    }
    return true;
}

} // namespace velmora
