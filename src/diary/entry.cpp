#include "entry.h"

namespace velmora {

namespace {

struct Limit
{
    int box;
    double maximum;
};
// Upper limits of the numeric boxes, inclusive; the waist has none.
constexpr Limit UpperLimits[] = {{2, 130}, {3, 230}, {4, 200}, {5, 20},  {6, 300},
                                 {7, 300}, {8, 40},  {9, 100}, {10, 100}, {11, 20}};

Field fieldOfBox(int n)
{
    return Field(AgeField + n - 2);
}

} // namespace

bool entryPassesChecks(const EntryTexts &texts)
{
    if (texts.sex != QStringLiteral("男") && texts.sex != QStringLiteral("女"))
        return false;
    if (leadingNumberValue(texts.box(2)) < 1)
        return false;
    for (const Limit &limit : UpperLimits)
        if (leadingNumberValue(texts.box(limit.box)) > limit.maximum)
            return false;
    return texts.heredity == QStringLiteral("有") || texts.heredity == QStringLiteral("无")
           || texts.heredity.isEmpty();
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
