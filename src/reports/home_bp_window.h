#pragma once

// 家庭血压报告…: the chosen monitoring week of a person's home blood pressure
// readings, one row a day, with the means of the guideline's averaging and
// the sentences that say what they are. The week, the days left out and the
// two windows can be changed here; the menu works out what they give.

#include "readings/home_week_sheet.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QTableWidget;
class QTimeEdit;

namespace velmora {

class HomeBpWindow : public QDialog
{
    Q_OBJECT
public:
    explicit HomeBpWindow(QWidget *parent = nullptr);

    // Shows the sheet of the week and sets the controls to its choice.
    void showWeek(const QString &userName, const HomeWeekSheet &sheet, const WeekChoice &choice);
    // The week the controls choose now.
    WeekChoice choice() const;

    const HomeWeekSheet &sheet() const { return m_sheet; }
    const QTableWidget &daysTable() const { return *m_days; }
    QString meansText() const;
    QString verdictText() const;
    QString medicinesText() const;
    QString refusalText() const; // why the windows chosen cannot be used; empty when they can

signals:
    // The controls choose another week, or other days or windows that can be used.
    void choiceChanged();
    void printRequested();
    void pdfRequested();

private:
    void controlChanged();
    QTimeEdit *timeEdit(const QString &name, const QString &accessibleName);

    QDateEdit *m_firstDay = nullptr;
    QComboBox *m_leftOut = nullptr;
    QTimeEdit *m_morningFrom = nullptr, *m_morningTo = nullptr;
    QTimeEdit *m_eveningFrom = nullptr, *m_eveningTo = nullptr;
    QLabel *m_refusal = nullptr;
    QLabel *m_week = nullptr;
    QTableWidget *m_days = nullptr;
    QLabel *m_means = nullptr;
    QLabel *m_verdict = nullptr;
    QLabel *m_shortfall = nullptr;
    QLabel *m_medicines = nullptr;
    QLabel *m_about = nullptr;
    HomeWeekSheet m_sheet;
};

} // namespace velmora
