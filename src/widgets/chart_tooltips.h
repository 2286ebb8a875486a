#pragma once

#include <QObject>
#include <QPointF>
#include <QString>

#include <array>
#include <optional>

class QLabel;
class QWidget;

namespace velmora {

class Diary;

// The text of a record's tooltip and of "评分构成…": its date and time, its
// score explained, then its ten-year cardiovascular risk.
QString recordExplanation(const Diary &diary, int position);
// The same as rich text, the risk in its band's colour.
QString recordExplanationHtml(const Diary &diary, int position);

// The tooltip that names the record under a mark of the chart or a label of
// the record column: its date and time and its risk score explained term by
// term. None over the chart while the statement covers it.
class ChartToolTips : public QObject
{
    Q_OBJECT
public:
    // Pointers nearer to a mark than this, in pixels, show its tooltip.
    static constexpr double HitTolerancePixels = 4;

    ChartToolTips(const Diary &diary, QWidget &chart, const QWidget &statement, const std::array<QLabel *, 20> &labels);

    // The tooltip at a point of the chart area, in its pixels; empty over no mark.
    QString toolTipAt(QPointF chartPixels) const;
    // The tooltip of record label j; empty when it shows no record.
    QString labelToolTip(int label) const;
    // The tooltip of a table position of the records as last read.
    QString recordToolTip(int position) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<int> entryAt(QPointF chartPixels) const;
    std::optional<int> labelEntry(int label) const;
    std::optional<int> entryOf(QObject *watched, QPoint position) const;

    const Diary &m_diary;
    QWidget &m_chart;
    const QWidget &m_statement;
    std::array<QLabel *, 20> m_labels;
};

} // namespace velmora
