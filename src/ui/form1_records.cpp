// Showing, storing, loading, modifying and clearing records.

#include "ui/form1.h"

#include <QComboBox>

namespace velmora {

void Form1::display()
{
    applyOutcome(m_diary.display(m_combo2->currentText(), chartStyle()));
}

void Form1::StoreRecord()
{
    applyOutcome(m_diary.StoreRecord(entryTexts(), chartStyle()));
}

void Form1::LoadRecord(int label)
{
    applyOutcome(m_diary.LoadRecord(label));
}

void Form1::ModifyRecord()
{
    applyOutcome(m_diary.ModifyRecord(m_combo2->currentText(), entryTexts(), chartStyle()));
}

void Form1::ClearEntry()
{
    applyOutcome(m_diary.ClearEntry());
}

Outcome Form1::changeDiary(const std::function<Outcome(Diary &, ChartStyle)> &change)
{
    const Outcome outcome = change(m_diary, chartStyle());
    applyOutcome(outcome);
    return outcome;
}

} // namespace velmora
