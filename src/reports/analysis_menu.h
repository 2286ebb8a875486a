#pragma once

// Reading the diary: the score of one record explained, and each factor over
// a period, reached from the context menu of the chart and the record column.

#include "reports/factor_window.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QWidget;

namespace velmora {

class ContextMenu;
class Diary;
class MessageBoxes;
class PeriodDialog;

class AnalysisMenu : public QObject
{
    Q_OBJECT
public:
    AnalysisMenu(ContextMenu &menu, const Diary &diary, PeriodDialog &periods, MessageBoxes &messages,
                 QWidget &window);

    QAction *breakdownAction() const { return m_breakdown; }
    QAction *factorTrendsAction() const { return m_factorTrends; }

    // "评分构成…" on record label `label`: a small window with its score explained.
    void showScoreBreakdown(int label);
    // "因素趋势…": asks for a period and shows its charts and figures.
    void showFactorTrends();

    // Runs before an estimate of the ten-year risk is shown (the questions, when unanswered).
    void setBeforeEstimate(std::function<void()> beforeEstimate) { m_beforeEstimate = std::move(beforeEstimate); }

    QDialog *breakdownDialog() const { return m_breakdownDialog; }
    FactorWindow *factorWindow() const { return m_factorWindow; }

private:
    void choosePeriodFor(FactorWindow &window);

    const Diary &m_diary;
    PeriodDialog &m_periods;
    MessageBoxes &m_messages;
    QWidget &m_window;
    QAction *m_breakdown = nullptr;
    QAction *m_factorTrends = nullptr;
    QPointer<QDialog> m_breakdownDialog;
    QPointer<FactorWindow> m_factorWindow;
    std::function<void()> m_beforeEstimate;
};

} // namespace velmora
