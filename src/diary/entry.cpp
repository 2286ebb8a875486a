#include "diary/entry.h"

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

namespace {

// The checks of a store: `numberOf` gives a numeric box's value, or nothing
// for a box whose limits do not apply.
template <typename NumberOf>
std::optional<QString> refusal(const QString &sex, const QString &heredity, NumberOf numberOf)
{
    if (sex != QStringLiteral("男") && sex != QStringLiteral("女"))
        return QStringLiteral("性别应为“男”或“女”");
    const std::optional<double> age = numberOf(2);
    if (age && (*age < MinimumAge || *age > MaximumAge))
        return QStringLiteral("年龄应在%1到%2之间").arg(MinimumAge).arg(MaximumAge);
    for (const Limit &limit : UpperLimits) {
        const std::optional<double> value = numberOf(limit.box);
        if (value && *value > limit.maximum) {
            const QString title = columnOfField(fieldOfBox(limit.box)).titleText();
            return QStringLiteral("%1不能大于%2").arg(title).arg(limit.maximum);
        }
    }
    if (heredity != QStringLiteral("有") && heredity != QStringLiteral("无") && !heredity.isEmpty())
        return QStringLiteral("遗传应为“有”、“无”或空白");
    return std::nullopt;
}

} // namespace

std::optional<QString> entryRefusal(const EntryTexts &texts)
{
    return refusal(texts.sex, texts.heredity,
                   [&texts](int n) { return std::optional<double>(leadingNumberValue(texts.box(n))); });
}

std::optional<QString> recordRefusal(const HealthRecord &record)
{
    return refusal(record[SexField].displayText(), record[HeredityField].displayText(), [&record](int n) {
        const Item &item = record[fieldOfBox(n)];
        return item.isNumber() ? std::optional<double>(item.number()) : std::nullopt;
    });
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
