#include "widgets/chart_tooltips.h"

#include "analysis/score_explanation.h"
#include "chart/chart_hits.h"
#include "diary/diary.h"
#include "widgets/twips.h"

#include <QApplication>
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

QString recordExplanation(const Diary &diary, int position)
{
    const HealthRecord &record = diary.recordTable()[position];
    return recordToolTip(record[RecordIdField].displayText(),
                         scoreExplanation(record, diary.explainRecord(position))
                             + cvdExplanation(diary.estimateRecord(position)));
}

QString recordExplanationHtml(const Diary &diary, int position)
{
    const CvdEstimate estimate = diary.estimateRecord(position);
    const QString risk = cvdRiskLine(estimate);
    QStringList lines = recordExplanation(diary, position).split(u'\n');
    for (QString &line : lines) {
        const bool isRisk = line == risk;
        line = line.toHtmlEscaped();
        if (isRisk && estimate.isEstimate())
            line = QStringLiteral("<b style=\"color:%1\">%2</b>").arg(cvd::bandColour(estimate.band), line);
    }
    return QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(lines.join(QStringLiteral("<br>")));
}

namespace {

// The shown tooltip's window carries its plain text as its title, where tools
// that read window titles find it (the real-window test reads the risk there).
void titleToolTipWindow(const QString &text)
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == u"qtooltip_label" && window->isVisible())
            window->setWindowTitle(text);
}

} // namespace

QString ChartToolTips::recordToolTip(int position) const
{
    return recordExplanation(m_diary, position);
}

std::optional<int> ChartToolTips::entryAt(QPointF chartPixels) const
{
    if (m_statement.isVisible())
        return std::nullopt; // the statement covers the chart
    const std::vector<ChartMark> &marks = m_diary.chartMarks();
    const int count = std::min<int>(m_diary.recordCount(), int(m_diary.scoreColumn().size()));
    // The marks must be those of the table as it is now.
    if (count <= 0 || chartEntryCount(marks) != count)
        return std::nullopt;
    const QPointF twips = (chartPixels + QPointF(0.5, 0.5)) * twips::PerPixel;
    return entryAtChartPoint(marks, twips, HitTolerancePixels * twips::PerPixel);
}

std::optional<int> ChartToolTips::labelEntry(int label) const
{
    const int position = m_diary.menuOffset() + label;
    const int count = std::min<int>(m_diary.recordCount(), int(m_diary.scoreColumn().size()));
    if (label < 0 || label >= int(m_labels.size()) || position >= count || m_labels[size_t(label)]->text().isEmpty())
        return std::nullopt;
    return position;
}

QString ChartToolTips::toolTipAt(QPointF chartPixels) const
{
    const std::optional<int> entry = entryAt(chartPixels);
    return entry ? recordToolTip(*entry) : QString();
}

QString ChartToolTips::labelToolTip(int label) const
{
    const std::optional<int> entry = labelEntry(label);
    return entry ? recordToolTip(*entry) : QString();
}

std::optional<int> ChartToolTips::entryOf(QObject *watched, QPoint position) const
{
    if (watched == &m_chart)
        return entryAt(position);
    const auto label = std::find(m_labels.begin(), m_labels.end(), watched);
    return labelEntry(int(label - m_labels.begin()));
}

bool ChartToolTips::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    auto *help = static_cast<QHelpEvent *>(event);
    const std::optional<int> entry = entryOf(watched, help->pos());
    if (!entry) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), recordExplanationHtml(m_diary, *entry), static_cast<QWidget *>(watched));
        titleToolTipWindow(recordToolTip(*entry));
    }
    return true;
}

} // namespace velmora
