// The Diary's history workflows: past measurements, single deletions, undo
// and record tables brought in. Every one of them rewrites a record file only
// through DataFolder, which refuses when the file no longer holds what was
// read, and leaves an undo step behind.

#include "diary/diary.h"

#include "diary/messages.h"
#include "diary/record_import.h"
#include "records/record_id.h"
#include "records/time_order.h"

namespace velmora {

Outcome Diary::addPastRecord(const QDateTime &when, const EntryTexts &texts, ChartStyle style)
{
    if (refuseWithoutUser())
        return Outcome::nothing();
    const QString user = m_currentUser;
    const QString id = recordIdOf(when);
    if (const auto refused = recordTimeRefusal(id, m_clock())) {
        m_messages.inform(messages::pastTimeRefused(*refused));
        return Outcome::nothing();
    }
    if (!entryPassesChecks(texts)) {
        m_messages.inform(messages::InvalidEntry);
        return Outcome::nothing();
    }
    FileFingerprint readAs;
    auto entries = readEntries(user, &readAs);
    if (!entries)
        return Outcome::nothing();
    insertInTimeOrder(*entries, storedRecord(texts, id));
    QByteArray before;
    if (!rewriteEntries(user, readAs, std::move(*entries), &before))
        return Outcome::nothing();
    finishChange(ChangeKind::PastRecord, user, std::move(before), style, true);
    return Outcome::records();
}

Outcome Diary::deleteRecord(int label, ChartStyle style)
{
    const int k = m_menuOffset + label;
    // A label without an entry, or with an entry whose caption is empty, names nothing.
    if (k < 0 || k >= m_recordCount)
        return Outcome::nothing();
    const QString id = m_table[k][RecordIdField].displayText();
    if (id.isEmpty())
        return Outcome::nothing();
    if (refuseWithoutUser())
        return Outcome::nothing();
    const QString user = m_currentUser;
    if (!m_folder.RecordFileExists(user)) {
        m_messages.inform(messages::NothingToModify);
        return Outcome::nothing();
    }
    // The column must show this user's file, or the entry would be taken from someone else's.
    if (m_tableUser != user) {
        m_messages.inform(messages::DeleteNeedsDisplay);
        return Outcome::nothing();
    }
    if (!m_messages.ask(messages::confirmDeleteRecord(isRecordIdText(id) ? recordDateCaption(id) : id)))
        return Outcome::nothing();
    std::vector<HealthRecord> entries = tableEntries(m_table, m_recordCount);
    entries.erase(entries.begin() + k);
    QByteArray before;
    if (const FileResult saved = rewriteEntries(user, m_tableFingerprint, std::move(entries), &before); !saved) {
        if (saved.changedOutside) {
            // Show the file as it is now; the stale column goes.
            m_selectedRecord = -1;
            showFile(user, style, false);
        }
        return Outcome::nothing();
    }
    finishChange(ChangeKind::DeleteRecord, user, std::move(before), style, false);
    return Outcome::records(Outcome::Fields::Empty);
}

Outcome Diary::undoLastChange(ChartStyle style)
{
    if (m_undo.isEmpty()) {
        m_messages.inform(messages::NothingToUndo);
        return Outcome::nothing();
    }
    const UndoStep step = m_undo.last();
    if (!m_messages.ask(messages::confirmUndo(step.user, changeKindName(step.kind))))
        return Outcome::nothing();
    // The files of a user deleted since are not brought back.
    const FileResult restored = m_folder.RecordFileExists(step.user)
                                    ? m_folder.restoreUserFile(step.user, step.file, step.after, step.before)
                                    : FileResult{false, {}, true};
    if (!restored) {
        if (!restored.changedOutside) {
            m_messages.inform(messages::saveFailed(restored.error));
            return Outcome::nothing();
        }
        // Every older step of this user leads to a state the file has left as well.
        m_undo.forgetFile(step.user, step.file);
        m_messages.inform(messages::undoRefused(step.user));
        return Outcome::nothing();
    }
    m_undo.dropLast();
    if (step.file == UserFile::Medicines)
        return Outcome::medicines();
    if (step.file != UserFile::Records)
        return Outcome::readings();
    if (step.user == m_currentUser) {
        m_selectedRecord = -1;
        showFile(step.user, style, false);
    }
    return Outcome::records();
}

Outcome Diary::importRecords(const QByteArray &table, ChartStyle style)
{
    if (refuseWithoutUser())
        return Outcome::nothing();
    const QString user = m_currentUser;
    FileFingerprint readAs;
    auto entries = readEntries(user, &readAs);
    if (!entries)
        return Outcome::nothing();
    ImportPlan plan = planImport(table, *entries, m_clock());
    if (!plan.error.isEmpty()) {
        m_messages.inform(plan.error);
        return Outcome::nothing();
    }
    if (plan.toAdd.empty()) {
        m_messages.inform(importSummary(plan));
        return Outcome::nothing();
    }
    if (!m_messages.ask(importSummary(plan)))
        return Outcome::nothing();
    const int added = int(plan.toAdd.size());
    insertInTimeOrder(*entries, std::move(plan.toAdd));
    QByteArray before;
    if (!rewriteEntries(user, readAs, std::move(*entries), &before))
        return Outcome::nothing();
    finishChange(ChangeKind::Import, user, std::move(before), style, true);
    m_messages.inform(messages::imported(added));
    return Outcome::records();
}

// As for a store: the entries come from a complete read, or nothing is
// written at all (the read's failure has been told).
std::optional<std::vector<HealthRecord>> Diary::readEntries(const QString &user, FileFingerprint *readAs)
{
    RecordTable scratch;
    const ReadResult read = m_folder.readRecordFile(user, scratch);
    if (!read) {
        m_messages.inform(messages::readFailed(read.error));
        return std::nullopt;
    }
    *readAs = read.fingerprint;
    return tableEntries(scratch, read.count);
}

// Rewrites the file with exactly these entries, every one of them, and says
// why when it could not.
FileResult Diary::rewriteEntries(const QString &user, const FileFingerprint &readAs,
                                 std::vector<HealthRecord> entries, QByteArray *before)
{
    const int count = int(entries.size());
    const FileResult saved = m_folder.RewriteRecordFile(user, readAs, tableOf(std::move(entries)), count,
                                                        RewriteMode::Modify, nullptr, before);
    if (!saved)
        m_messages.inform(saved.changedOutside ? messages::ChangedOutside : messages::saveFailed(saved.error));
    return saved;
}

std::optional<FileFingerprint> Diary::rewriteUserContent(ChangeKind kind, const QString &user, UserFile which,
                                                        const FileFingerprint &readAs,
                                                        const std::optional<QByteArray> &content, const QString &unkept)
{
    FormerContent before;
    const FileResult saved =
        content ? m_folder.rewriteUserFile(user, which, readAs,
                                           [&](QIODevice &device) { return writeAll(device, *content); }, &before)
                : FileResult::failure(unkept);
    if (!saved) {
        m_messages.inform(saved.changedOutside ? messages::ChangedOutside : messages::saveFailed(saved.error));
        return std::nullopt;
    }
    const FileFingerprint after = FileFingerprint::of(*content);
    m_undo.push({kind, user, std::move(before), after, which});
    return after;
}

// The one way the diary shows a file again: the marks go, the file is read
// (its fingerprint is then what any later change must find) and drawn.
bool Diary::showFile(const QString &user, ChartStyle style, bool withDiagnosis, std::optional<int> highlight)
{
    setMarks({});
    if (!readTable(user, withDiagnosis))
        return false;
    DrawTrendChart(style, highlight);
    return true;
}

// After every change this diary made to a record file. A store only appends,
// so its selection still names the same entry; any other change may move
// entries, and the selection goes.
void Diary::finishChange(ChangeKind kind, const QString &user, QByteArray before, ChartStyle style,
                         bool withDiagnosis)
{
    if (kind != ChangeKind::Store)
        m_selectedRecord = -1;
    showFile(user, style, withDiagnosis);
    rememberChange(kind, user, std::move(before));
}

// Called right after the re-read of the changed file: its fingerprint is what
// the change left. Without that read there is nothing safe to undo to.
void Diary::rememberChange(ChangeKind kind, const QString &user, QByteArray before)
{
    if (m_tableUser == user)
        m_undo.push({kind, user, std::move(before), m_tableFingerprint, UserFile::Records});
}

} // namespace velmora
