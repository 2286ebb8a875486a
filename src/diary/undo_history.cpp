#include "diary/undo_history.h"

#include <algorithm>

namespace velmora {

QString changeKindName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Store:
        return QStringLiteral("存储数据");
    case ChangeKind::Modify:
        return QStringLiteral("修改数据");
    case ChangeKind::PastRecord:
        return QStringLiteral("补录历史记录");
    case ChangeKind::DeleteRecord:
        return QStringLiteral("删除记录");
    case ChangeKind::Import:
        return QStringLiteral("导入记录");
    }
    return QString();
}

void UndoHistory::push(UndoStep step)
{
    m_bytes += step.before.size();
    m_steps.push_back(std::move(step));
    const auto tooMuch = [this] {
        return int(m_steps.size()) > MaxSteps || m_bytes - m_steps.back().before.size() > MaxBytes;
    };
    while (m_steps.size() > 1 && tooMuch()) {
        m_bytes -= m_steps.front().before.size();
        m_steps.pop_front();
    }
}

void UndoHistory::dropLast()
{
    m_bytes -= m_steps.back().before.size();
    m_steps.pop_back();
}

void UndoHistory::forgetUser(const QString &user)
{
    std::erase_if(m_steps, [&user](const UndoStep &step) { return step.user == user; });
    m_bytes = 0;
    for (const UndoStep &step : m_steps)
        m_bytes += step.before.size();
}

} // namespace velmora
