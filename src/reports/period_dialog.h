#pragma once

#include "analysis/period.h"

#include <QString>

#include <optional>

class QWidget;

namespace velmora {

// The period a report or the factor window covers. Tests script the answer.
class PeriodDialog
{
public:
    virtual ~PeriodDialog() = default;
    // The period chosen, or none when the dialog is cancelled. The quick
    // choices end on `today`; `first` and `latest` are the days of the
    // earliest and latest record, offered for the dates of a chosen span.
    virtual std::optional<Period> choosePeriod(const QString &caption, QDate today, QDate first, QDate latest) = 0;
};

// A small modal dialog: all records (the default), the last 30 days, 3
// months or year, or a span between two dates. It offers the last choice again.
class QtPeriodDialog : public PeriodDialog
{
public:
    explicit QtPeriodDialog(QWidget *parent = nullptr) : m_parent(parent) {}
    std::optional<Period> choosePeriod(const QString &caption, QDate today, QDate first, QDate latest) override;

private:
    QWidget *m_parent;
    int m_lastChoice = 0;
};

class Diary;

// The records as last read, in time order, with their scores.
RecordHistory diaryHistory(const Diary &diary);

// Asks for the period of the diary's records, offering the days of its first and latest record.
std::optional<Period> askPeriod(PeriodDialog &dialog, const QString &caption, const Diary &diary,
                                const RecordHistory &history);

} // namespace velmora
