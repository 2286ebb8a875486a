#pragma once

#include "records/health_record.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace velmora {

// The texts of the thirteen entry controls: Combo1, Text2 .. Text12 (box n at
// numbers[n - 2], which is file order from age to waist) and Combo12.
struct EntryTexts
{
    static constexpr int NumberCount = 11;

    QString sex;
    std::array<QString, NumberCount> numbers;
    QString heredity;

    QString &box(int n) { return numbers[size_t(n - 2)]; } // Text2 .. Text12
    const QString &box(int n) const { return numbers[size_t(n - 2)]; }
    bool operator==(const EntryTexts &) const = default;
};

// Whether the boxes hold a record that may be stored: sex "男" or "女", age 1
// to 130, the other limits inclusive, heredity "有", "无" or nothing.
bool entryPassesChecks(const EntryTexts &texts);
// Why the boxes fail those checks, for a person to read ("年龄应在1到130之间");
// nothing when they pass.
std::optional<QString> entryRefusal(const EntryTexts &texts);
// The same checks on a record brought in whole: the limits hold for the items
// that are numbers; a text or an empty item is a gap, as a modify can leave it.
std::optional<QString> recordRefusal(const HealthRecord &record);

// Why a record may not carry this RecordId, a time the person chose: not
// fourteen digits, later than `now`, or before 1900. Nothing when it may.
std::optional<QString> recordTimeRefusal(const QString &recordId, const QDateTime &now);

// A new record as the store writes it: the numbers are the leading-number
// values of the boxes.
HealthRecord storedRecord(const EntryTexts &texts, const QString &recordId);

// A record as the modify writes it back: every box's text as it stands.
HealthRecord typedRecord(const EntryTexts &texts, const QString &recordId);

// The texts a record shows in the boxes.
EntryTexts entryTexts(const HealthRecord &record);

} // namespace velmora
