#pragma once

#include "records/clock_time.h"

#include <QString>

#include <optional>

namespace velmora {

// What happened to a medicine at one time.
enum class MedicineAction {
    Start,  // 开始: starts taking it
    Adjust, // 调整: the dose or how often changed
    Stop,   // 停用: stops taking it
    Single, // 单次: one tablet taken when needed
};

// One line of a person's medicine diary. A change never rewrites an earlier
// event: the history stays what happened.
struct MedicineEvent
{
    ClockStamp stamp = 0; // when, as the clock showed it
    MedicineAction action = MedicineAction::Start;
    QString name;      // as the person wrote it: "氨氯地平"
    QString dose;      // a text: "5 mg", "半片"; may be empty
    QString frequency; // a text: "每日1次"; may be empty
    QString note;      // may be empty

    bool operator==(const MedicineEvent &) const = default;
};

// "开始", "调整", "停用", "单次": the word the file and the window use.
QString actionWord(MedicineAction action);
std::optional<MedicineAction> actionOfWord(QStringView word);
// True for the events that change what is taken (开始, 调整, 停用).
bool changesPlan(MedicineAction action);

// The medicine a name stands for: names that differ only in letter case,
// full-width or half-width forms or blanks are the same medicine
// ("Aspirin", "aspirin ", "ＡＳＰＩＲＩＮ").
QString medicineKey(const QString &name);
bool sameMedicine(const QString &a, const QString &b);

// Why an event cannot be kept, naming the box: an empty name, a tab or a
// line break, a character GBK cannot hold. Nothing for a good event.
std::optional<QString> medicineEventRefusal(const MedicineEvent &event);

// "氨氯地平 5 mg": the name and, when given, the dose.
QString nameAndDose(const MedicineEvent &event);
// What the event says in one line: "开始 氨氯地平 5 mg 每日1次".
QString eventSummary(const MedicineEvent &event);

} // namespace velmora
