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
    case ChangeKind::BloodPressure:
        return QStringLiteral("记录血压");
    case ChangeKind::ReadingsImport:
        return QStringLiteral("导入血压读数");
    case ChangeKind::MedicineStart:
        return QStringLiteral("开始服用");
    case ChangeKind::MedicineAdjust:
        return QStringLiteral("调整用药");
    case ChangeKind::MedicineStop:
        return QStringLiteral("停用");
    case ChangeKind::MedicineSingle:
        return QStringLiteral("单次服用");
    case ChangeKind::MedicineDelete:
        return QStringLiteral("删除用药记录");
    }
    return QString();
}

void UndoHistory::push(UndoStep step)
{
    m_bytes += step.size();
    m_steps.push_back(std::move(step));
    const auto tooMuch = [this] {
        return int(m_steps.size()) > MaxSteps || m_bytes - m_steps.back().size() > MaxBytes;
    };
    while (m_steps.size() > 1 && tooMuch()) {
        m_bytes -= m_steps.front().size();
        m_steps.pop_front();
    }
}

void UndoHistory::dropLast()
{
    m_bytes -= m_steps.back().size();
    m_steps.pop_back();
}

void UndoHistory::forgetFile(const QString &user, UserFile file)
{
    std::erase_if(m_steps, [&](const UndoStep &step) { return step.user == user && step.file == file; });
    m_bytes = 0;
    for (const UndoStep &step : m_steps)
        m_bytes += step.size();
}

} // namespace velmora
