#include "chart_tooltips.h"

#include "analysis/score_explanation.h"
#include "chart/chart_hits.h"
#include "diary/diary.h"
#include "twips.h"

#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

namespace velmora {

ChartToolTips::ChartToolTips(const Diary &diary, QWidget &chart, const QWidget &statement,
                             const std::array<QLabel *, 20> &labels)
    : QObject(&chart), m_diary(diary), m_chart(chart), m_statement(statement), m_labels(labels)
{
    chart.installEventFilter(this);
    for (QLabel *label : labels)
        label->installEventFilter(this);
}

QString ChartToolTips::recordToolTip(int position) const
{
    const HealthRecord &record = m_diary.recordTable()[position];
    return velmora::recordToolTip(record[RecordIdField].displayText(),
                                  scoreExplanation(record, m_diary.explainRecord(position)));
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
    return entry ? recordToolTip(*entry) : QString();
}

QString ChartToolTips::labelToolTip(int label) const
{
    const int position = m_diary.menuOffset() + label;
    const int count = std::min<int>(m_diary.recordCount(), int(m_diary.scoreColumn().size()));
    if (label < 0 || label >= int(m_labels.size()) || position >= count || m_labels[size_t(label)]->text().isEmpty())
        return QString();
    return recordToolTip(position);
}

QString ChartToolTips::toolTipOf(QObject *watched, QPoint position) const
{
    if (watched == &m_chart)
        return toolTipAt(position);
    const auto label = std::find(m_labels.begin(), m_labels.end(), watched);
    return labelToolTip(int(label - m_labels.begin()));
}

bool ChartToolTips::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    auto *help = static_cast<QHelpEvent *>(event);
    const QString tip = toolTipOf(watched, help->pos());
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), tip, static_cast<QWidget *>(watched));
    }
    return true;
}

} // namespace velmora
