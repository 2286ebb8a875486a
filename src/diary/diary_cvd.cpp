#include "diary/diary.h"

#include "diary/messages.h"

namespace velmora {

void Diary::loadCvdAnswers()
{
    // An unreadable answers file counts as no answers: there is then no
    // estimate, and the records are shown as always.
    QString error;
    m_cvdAnswers = m_folder.loadCvdAnswers(m_tableUser, &error).value_or(CvdAnswers{});
}

CvdAnswers Diary::cvdHints() const
{
    std::vector<HealthRecord> records;
    for (int i = 0; i < m_recordCount; ++i)
        records.push_back(m_table[i]);
    return velmora::cvdHints(records);
}

Outcome Diary::saveCvdAnswers(const CvdAnswers &answers)
{
    if (m_tableUser.isEmpty()) {
        m_messages.inform(messages::ChooseOrAddUser);
        return Outcome::nothing();
    }
    if (const FileResult saved = m_folder.saveCvdAnswers(m_tableUser, answers); !saved) {
        m_messages.inform(messages::saveFailed(saved.error));
        return Outcome::nothing();
    }
    m_cvdAnswers = answers;
    return Outcome::answers();
}

CvdEstimate Diary::estimateRecord(int position) const
{
    return estimateCvdRisk(m_table[position], m_cvdAnswers);
}

} // namespace velmora
