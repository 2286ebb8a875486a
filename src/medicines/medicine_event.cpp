#include "medicines/medicine_event.h"

#include "records/line_file.h"

#include <array>

namespace velmora {

namespace {

struct ActionWord
{
    MedicineAction action;
    const char16_t *word;
};

constexpr std::array<ActionWord, 4> ActionWords = {{
    {MedicineAction::Start, u"开始"},
    {MedicineAction::Adjust, u"调整"},
    {MedicineAction::Stop, u"停用"},
    {MedicineAction::Single, u"单次"},
}};


} // namespace

QString actionWord(MedicineAction action)
{
    for (const ActionWord &a : ActionWords)
        if (a.action == action)
            return QString::fromUtf16(a.word);
    return QString();
}

std::optional<MedicineAction> actionOfWord(QStringView word)
{
    for (const ActionWord &a : ActionWords)
        if (word == QStringView(a.word))
            return a.action;
    return std::nullopt;
}

bool changesPlan(MedicineAction action)
{
    return action != MedicineAction::Single;
}

QString medicineKey(const QString &name)
{
    QString key = name.normalized(QString::NormalizationForm_KC).toCaseFolded();
    key.removeIf([](QChar c) { return c.isSpace(); });
    return key;
}

bool sameMedicine(const QString &a, const QString &b)
{
    return medicineKey(a) == medicineKey(b);
}

std::optional<QString> medicineEventRefusal(const MedicineEvent &event)
{
    if (medicineKey(event.name).isEmpty())
        return QStringLiteral("请输入药名！");
    for (const auto &[box, text] : {std::pair{QStringLiteral("药名"), &event.name},
                                    std::pair{QStringLiteral("剂量"), &event.dose},
                                    std::pair{QStringLiteral("用法"), &event.frequency},
                                    std::pair{QStringLiteral("备注"), &event.note}})
        if (auto refused = fieldRefusal(box, *text))
            return refused;
    return std::nullopt;
}

QString nameAndDose(const MedicineEvent &event)
{
    return event.dose.isEmpty() ? event.name : event.name + u' ' + event.dose;
}

QString eventSummary(const MedicineEvent &event)
{
    QString summary = actionWord(event.action) + u' ' + nameAndDose(event);
    if (!event.frequency.isEmpty())
        summary += u' ' + event.frequency;
    return summary;
}

} // namespace velmora
