#pragma once

#include "analysis/period.h"
#include "analysis/statistics_sheet.h"
#include "reports/time_chart.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTableWidget;

namespace velmora {

// The charts of the score and of each factor of a period over time, with
// the period's figures beside them.
class FactorChartsView : public QWidget
{
    Q_OBJECT
public:
    explicit FactorChartsView(QWidget *parent = nullptr);
    void setCharts(std::vector<TimeChart> charts, TimeAxis axis);
    const std::vector<TimeChart> &charts() const { return m_charts; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<TimeChart> m_charts;
    TimeAxis m_axis;
};

class FactorWindow : public QDialog
{
    Q_OBJECT
public:
    explicit FactorWindow(QWidget *parent = nullptr);
    // Shows the records of `history` that lie in `period` (the history of all
    // records as last read), with the ten-year risk of the person's answers
    // last, and the person's home blood pressure readings of the period beside
    // the check-ups' pressures.
    void showPeriod(const QString &userName, const RecordHistory &history, const Period &period,
                    const CvdAnswers &answers = {}, std::span<const BpReading> homeReadings = {});

    const FactorChartsView &chartsView() const { return *m_charts; }
    QString summaryText() const;
    const QTableWidget &figuresTable() const { return *m_figures; }

signals:
    void periodChangeRequested();

private:
    QLabel *m_summary = nullptr;
    QTableWidget *m_figures = nullptr;
    FactorChartsView *m_charts = nullptr;
};

} // namespace velmora
