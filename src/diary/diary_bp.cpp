// The Diary's home blood pressure readings: typed in one at a time, stored in
// the user's .bp file through DataFolder, which refuses when the file no
// longer holds what was read, and taken back by undo like any change.

#include "diary/diary.h"

#include "diary/entry.h"
#include "diary/messages.h"
#include "records/record_id.h"

#include <algorithm>

namespace velmora {

namespace {

// The number a box holds; a message naming the box when it holds none.
std::optional<int> wholeNumber(const QString &box, const QString &text, bool optional, QString *refusal)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        if (optional)
            return 0;
        *refusal = messages::missingValue(box);
        return std::nullopt;
    }
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok) {
        *refusal = messages::notWholeNumber(box);
        return std::nullopt;
    }
    return value;
}

// The reading the boxes stand for, or why they stand for none.
std::optional<BpReading> typedReading(const Diary::TypedReading &typed, const QDateTime &now, QString *refusal)
{
    const auto systolic = wholeNumber(QStringLiteral("收缩压"), typed.systolic, false, refusal);
    if (!systolic)
        return std::nullopt;
    const auto diastolic = wholeNumber(QStringLiteral("舒张压"), typed.diastolic, false, refusal);
    if (!diastolic)
        return std::nullopt;
    const auto pulse = wholeNumber(QStringLiteral("脉搏"), typed.pulse, true, refusal);
    if (!pulse)
        return std::nullopt;
    if (const auto refused = recordTimeRefusal(recordIdOf(typed.when), now)) {
        *refusal = messages::pastTimeRefused(QString(*refused).replace(QStringLiteral("记录"), QStringLiteral("测量")));
        return std::nullopt;
    }
    BpReading reading{clockStampOf(typed.when), *systolic, *diastolic, *pulse, ManualSource, typed.note.trimmed()};
    if (const auto refused = bpReadingRefusal(reading)) {
        *refusal = *refused;
        return std::nullopt;
    }
    return reading;
}

} // namespace

Outcome Diary::recordBloodPressure(const TypedReading &typed)
{
    if (refuseWithoutUser())
        return Outcome::nothing();
    const QString user = m_currentUser;
    QString refusal;
    const std::optional<BpReading> reading = typedReading(typed, m_clock(), &refusal);
    if (!reading) {
        m_messages.inform(refusal);
        return Outcome::nothing();
    }
    const BpFile *current = homeReadings(user);
    if (!current)
        return Outcome::nothing();
    // Enter pressed twice stores nothing twice unless the person says so.
    const auto same = [&](const BpReading &r) { return isSameReading(r, *reading); };
    if (std::any_of(current->entries.begin(), current->entries.end(), same)
        && !m_messages.ask(messages::sameReadingAgain(stampDateTime(reading->stamp).toString(QStringLiteral("yyyy年MM月dd日 HH:mm")),
                                                      bpText(reading->systolic, reading->diastolic))))
        return Outcome::nothing();
    BpFile changed = m_readings.take();
    changed.insert({*reading});
    const std::optional<QByteArray> content = bpFileContent(changed);
    if (!rewriteUserLines(m_readings, ChangeKind::BloodPressure, user, UserFile::BloodPressure, std::move(changed),
                          content, QStringLiteral("读数中有文件不能保存的文字")))
        return Outcome::nothing();
    return Outcome::readings();
}

const BpFile *Diary::homeReadings(const QString &user) const
{
    return m_readings.load(m_folder, m_messages, user, UserFile::BloodPressure, readBpFile);
}

} // namespace velmora
