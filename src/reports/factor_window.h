#pragma once

#include "analysis/period.h"
#include "analysis/statistics_sheet.h"
#include "readings/bp_reading.h"
#include "reports/time_chart.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace velmora {

// The charts of the score and of each factor of a period over time, with
// the period's figures beside them. A double click on a chart shows it alone,
// over the whole view (its medicine labels then have room); another brings
// all of them back.
class FactorChartsView : public QWidget
{
    Q_OBJECT
public:
    explicit FactorChartsView(QWidget *parent = nullptr);
    void setCharts(std::vector<TimeChart> charts, TimeAxis axis);
    const std::vector<TimeChart> &charts() const { return m_charts; }
    // The chart shown alone, or -1 for all of them.
    int enlarged() const { return m_enlarged; }
    void setEnlarged(int chart);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QRectF cellOf(size_t chart) const;

    std::vector<TimeChart> m_charts;
    TimeAxis m_axis;
    int m_enlarged = -1;
};

class FactorWindow : public QDialog
{
    Q_OBJECT
public:
    explicit FactorWindow(QWidget *parent = nullptr);
    // Shows the records of `history` that lie in `period` (the history of all
    // records as last read), with the ten-year risk of the person's answers
    // last, and the person's home blood pressure readings of the period beside
    // the check-ups' pressures. The medicine events are drawn on every chart;
    // beside them, each change in the period with the blood pressure before
    // and after it.
    void showPeriod(const QString &userName, const RecordHistory &history, const Period &period,
                    const CvdAnswers &answers = {}, std::span<const MedicineEvent> medicines = {},
                    std::span<const BpReading> homeReadings = {});

    const FactorChartsView &chartsView() const { return *m_charts; }
    QString summaryText() const;
    QString medicineText() const;
    const QTableWidget &figuresTable() const { return *m_figures; }

signals:
    void periodChangeRequested();

private:
    QLabel *m_summary = nullptr;
    QPlainTextEdit *m_medicines = nullptr;
    QTableWidget *m_figures = nullptr;
    FactorChartsView *m_charts = nullptr;
};

} // namespace velmora
