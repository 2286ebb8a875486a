// The Diary's home blood pressure readings: typed in one at a time, stored in
// the user's .bp file through DataFolder, which refuses when the file no
// longer holds what was read, and taken back by undo like any change.

#include "diary/diary.h"

#include "diary/entry.h"
#include "diary/messages.h"
#include "records/record_id.h"

#include <QFileInfo>

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
    BpFile changed = *current;
    changed.insert({*reading});
    if (!saveReadings(ChangeKind::BloodPressure, user, m_readings.fingerprint, std::move(changed)))
        return Outcome::nothing();
    return Outcome::readings();
}

const BpFile *Diary::homeReadings(const QString &user) const
{
    if (user.isEmpty())
        return nullptr;
    QString error;
    bool absent = false;
    const std::optional<QByteArray> content = m_folder.readUserFile(user, UserFile::BloodPressure, &error, &absent);
    if (!content) {
        m_messages.inform(messages::readFailed(error));
        return nullptr;
    }
    const FileFingerprint fingerprint = absent ? FileFingerprint{} : FileFingerprint::of(*content);
    if (m_readings.user != user) {
        m_readings = {};
        m_readings.user = user;
    }
    if (!m_readings.loaded || m_readings.fingerprint != fingerprint) {
        m_readings.file = readBpFile(*content);
        m_readings.fingerprint = fingerprint;
        m_readings.loaded = true;
    }
    const qsizetype unreadable = qsizetype(m_readings.file.kept.size());
    if (unreadable > 0 && unreadable != m_readings.toldUnreadable) {
        const QString name = QFileInfo(m_folder.userFilePath(user, UserFile::BloodPressure)).fileName();
        m_messages.inform(messages::unreadableLines(name, unreadable));
    }
    m_readings.toldUnreadable = unreadable;
    return &m_readings.file;
}

bool Diary::saveReadings(ChangeKind kind, const QString &user, const FileFingerprint &readAs, BpFile file)
{
    const std::optional<QByteArray> content = bpFileContent(file);
    FormerContent before;
    const FileResult saved =
        content ? m_folder.rewriteUserFile(user, UserFile::BloodPressure, readAs,
                                           [&](QIODevice &device) { return writeAll(device, *content); }, &before)
                : FileResult::failure(QStringLiteral("读数中有文件不能保存的文字"));
    if (!saved) {
        m_messages.inform(saved.changedOutside ? messages::ChangedOutside : messages::saveFailed(saved.error));
        return false;
    }
    const FileFingerprint after = FileFingerprint::of(*content);
    m_readings.user = user;
    m_readings.fingerprint = after;
    m_readings.file = std::move(file);
    m_readings.loaded = true;
    m_undo.push({kind, user, std::move(before), after, UserFile::BloodPressure});
    return true;
}

} // namespace velmora
