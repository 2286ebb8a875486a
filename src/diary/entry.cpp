#include "entry.h"

#include "records/record_columns.h"
#include "records/record_id.h"

namespace velmora {

namespace {

struct Limit
{
    int box;
    double maximum;
};
// Upper limits of the numeric boxes after the age, inclusive; the waist has none.
constexpr Limit UpperLimits[] = {{3, 230}, {4, 200}, {5, 20},   {6, 300}, {7, 300},
                                 {8, 40},  {9, 100}, {10, 100}, {11, 20}};
constexpr double MinimumAge = 1;
constexpr double MaximumAge = 130;

Field fieldOfBox(int n)
{
    return Field(AgeField + n - 2);
}

} // namespace

bool entryPassesChecks(const EntryTexts &texts)
{
    return !entryRefusal(texts);
}

std::optional<QString> entryRefusal(const EntryTexts &texts)
{
    if (texts.sex != QStringLiteral("男") && texts.sex != QStringLiteral("女"))
        return QStringLiteral("性别应为“男”或“女”");
    const double age = leadingNumberValue(texts.box(2));
    if (age < MinimumAge || age > MaximumAge)
        return QStringLiteral("年龄应在%1到%2之间").arg(MinimumAge).arg(MaximumAge);
    for (const Limit &limit : UpperLimits) {
        if (leadingNumberValue(texts.box(limit.box)) > limit.maximum) {
            const QString title = columnOfField(fieldOfBox(limit.box)).titleText();
            return QStringLiteral("%1不能大于%2").arg(title).arg(limit.maximum);
        }
    }
    if (texts.heredity != QStringLiteral("有") && texts.heredity != QStringLiteral("无") && !texts.heredity.isEmpty())
        return QStringLiteral("遗传应为“有”、“无”或空白");
    return std::nullopt;
}

std::optional<QString> recordTimeRefusal(const QString &recordId, const QDateTime &now)
{
    // Fourteen digits each: the texts compare as the times do.
    if (!isRecordIdText(recordId))
        return QStringLiteral("记录时间无效");
    if (recordId > recordIdOf(now))
        return QStringLiteral("记录时间不能晚于现在");
    if (recordId < QStringLiteral("19000101000000"))
        return QStringLiteral("记录时间不能早于1900年");
    return std::nullopt;
}

HealthRecord storedRecord(const EntryTexts &texts, const QString &recordId)
{
    HealthRecord record;
    record[RecordIdField] = Item::fromText(recordId);
    record[SexField] = Item::fromText(texts.sex);
    for (int n = 2; n <= 12; ++n)
        record[fieldOfBox(n)] = Item::fromNumber(leadingNumberValue(texts.box(n)));
    record[HeredityField] = Item::fromText(texts.heredity);
    return record;
}

HealthRecord typedRecord(const EntryTexts &texts, const QString &recordId)
{
    HealthRecord record;
    record[RecordIdField] = Item::fromText(recordId);
    record[SexField] = Item::fromText(texts.sex);
    for (int n = 2; n <= 12; ++n)
        record[fieldOfBox(n)] = Item::fromText(texts.box(n));
    record[HeredityField] = Item::fromText(texts.heredity);
    return record;
}

EntryTexts entryTexts(const HealthRecord &record)
{
    EntryTexts texts;
    texts.sex = record[SexField].displayText();
    for (int n = 2; n <= 12; ++n)
        texts.box(n) = record[fieldOfBox(n)].displayText();
    texts.heredity = record[HeredityField].displayText();
    return texts;
}

} // namespace velmora
