// The Diary's medicines: events typed in one at a time, checked against what
// is taken at their time, stored in the user's .med file through DataFolder,
// which refuses when the file no longer holds what was read, and taken back
// by undo like any change.

#include "diary/diary.h"

#include "diary/entry.h"
#include "diary/messages.h"
#include "medicines/medicine_effect.h"
#include "medicines/medicine_plan.h"
#include "records/record_id.h"

namespace velmora {

namespace {

QString minuteText(ClockStamp stamp)
{
    return stampDateTime(stamp).toString(QStringLiteral("yyyy年MM月dd日 HH:mm"));
}

ChangeKind changeKindOf(MedicineAction action)
{
    switch (action) {
    case MedicineAction::Start:
        return ChangeKind::MedicineStart;
    case MedicineAction::Adjust:
        return ChangeKind::MedicineAdjust;
    case MedicineAction::Stop:
        return ChangeKind::MedicineStop;
    case MedicineAction::Single:
        break;
    }
    return ChangeKind::MedicineSingle;
}

// The event the boxes stand for, or why they stand for none.
std::optional<MedicineEvent> typedEvent(const Diary::TypedMedicine &typed, const QDateTime &now, QString *refusal)
{
    if (const auto refused = recordTimeRefusal(recordIdOf(typed.when), now)) {
        *refusal = messages::pastTimeRefused(QString(*refused).replace(QStringLiteral("记录"), QStringLiteral("用药")));
        return std::nullopt;
    }
    MedicineEvent event{clockStampOf(typed.when), typed.action, typed.name.trimmed(), typed.dose.trimmed(),
                        typed.frequency.trimmed(), typed.note.trimmed()};
    if (const auto refused = medicineEventRefusal(event)) {
        *refusal = *refused;
        return std::nullopt;
    }
    return event;
}

// Why the event does not fit what is taken at its time: 调整 and 停用 need
// the medicine taken, 开始 needs it not taken.
std::optional<QString> planRefusal(const MedicineFile &file, const MedicineEvent &event)
{
    if (!changesPlan(event.action))
        return std::nullopt;
    const std::optional<PlanEntry> taken = takenAt(file.entries, event.name, event.stamp);
    if (event.action == MedicineAction::Start && taken)
        return messages::medicineAlreadyTaken(event.name, minuteText(event.stamp), planDoseText(*taken));
    if (event.action != MedicineAction::Start && !taken)
        return messages::medicineNotTaken(event.name, minuteText(event.stamp), actionWord(event.action));
    return std::nullopt;
}

} // namespace

Outcome Diary::recordMedicine(const TypedMedicine &typed)
{
    if (refuseWithoutUser())
        return Outcome::nothing();
    const QString user = m_currentUser;
    QString refusal;
    const std::optional<MedicineEvent> event = typedEvent(typed, m_clock(), &refusal);
    if (!event) {
        m_messages.inform(refusal);
        return Outcome::nothing();
    }
    const MedicineFile *current = medicines(user);
    if (!current)
        return Outcome::nothing();
    if (const auto refused = planRefusal(*current, *event)) {
        m_messages.inform(*refused);
        return Outcome::nothing();
    }
    MedicineFile changed = *current;
    changed.insert({*event});
    if (!saveMedicines(changeKindOf(event->action), user, std::move(changed)))
        return Outcome::nothing();
    return Outcome::medicines();
}

Outcome Diary::deleteMedicineEvent(size_t index, const MedicineEvent &shown)
{
    if (refuseWithoutUser())
        return Outcome::nothing();
    const QString user = m_currentUser;
    const MedicineFile *current = medicines(user);
    if (!current)
        return Outcome::nothing();
    if (index >= current->entries.size() || current->entries[index] != shown) {
        m_messages.inform(messages::MedicinesChangedOutside);
        return Outcome::nothing();
    }
    if (!m_messages.ask(messages::confirmDeleteMedicine(minuteText(shown.stamp), eventSummary(shown))))
        return Outcome::nothing();
    MedicineFile changed = *current;
    changed.entries.erase(changed.entries.begin() + qsizetype(index));
    // A kept line after the entry stays after the entry before it.
    for (KeptLine &line : changed.kept)
        if (size_t(line.before) > index)
            --line.before;
    if (!saveMedicines(ChangeKind::MedicineDelete, user, std::move(changed)))
        return Outcome::nothing();
    return Outcome::medicines();
}

const MedicineFile *Diary::medicines(const QString &user) const
{
    return m_medicines.load(m_folder, m_messages, user, UserFile::Medicines, readMedicineFile);
}

std::vector<BpReading> Diary::bloodPressureReadings(const QString &user) const
{
    std::vector<BpReading> home;
    if (const BpFile *readings = homeReadings(user))
        home = readings->entries;
    if (m_tableUser == user)
        return allReadings(home, checkUpReadings(recordHistory(m_table, m_recordCount, m_scores)));
    RecordTable table;
    const ReadResult read = m_folder.readRecordFile(user, table);
    const std::vector<double> unscored(size_t(std::max(read.count, 0)), 0.0);
    return allReadings(home, read ? checkUpReadings(recordHistory(table, read.count, unscored))
                                  : std::vector<BpReading>());
}

bool Diary::saveMedicines(ChangeKind kind, const QString &user, MedicineFile file)
{
    const std::optional<QByteArray> content = medicineFileContent(file);
    return rewriteUserLines(m_medicines, kind, user, UserFile::Medicines, std::move(file), content,
                            QStringLiteral("用药记录中有文件不能保存的文字"));
}

} // namespace velmora
