#pragma once

#include <QObject>
#include <QPointF>
#include <QString>

class QWidget;

namespace velmora {

class Diary;

// The tooltip that names the record under a mark of the chart: its date and
// time and its risk score. None while the statement covers the chart.
class ChartToolTips : public QObject
{
    Q_OBJECT
public:
    // Pointers nearer to a mark than this, in pixels, show its tooltip.
    static constexpr double HitTolerancePixels = 4;

    ChartToolTips(const Diary &diary, QWidget &chart, const QWidget &statement);

    // The tooltip at a point of the chart area, in its pixels; empty over no mark.
    QString toolTipAt(QPointF chartPixels) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const Diary &m_diary;
    QWidget &m_chart;
    const QWidget &m_statement;
};

} // namespace velmora
