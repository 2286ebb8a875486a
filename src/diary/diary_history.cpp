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

bool Diary::addPastRecord(const QDateTime &when, const EntryTexts &texts, ChartStyle style)
{
    const QString user = m_currentUser;
    if (user.isEmpty()) {
        m_messages.inform(messages::ChooseOrAddUser);
        return false;
    }
    const QString id = recordIdOf(when);
    if (const auto refused = recordTimeRefusal(id, m_clock())) {
        m_messages.inform(messages::pastTimeRefused(*refused));
        return false;
    }
    if (!entryPassesChecks(texts)) {
        m_messages.inform(messages::InvalidEntry);
        return false;
    }
    FileFingerprint readAs;
    auto entries = readEntries(user, &readAs);
    if (!entries)
        return false;
    insertInTimeOrder(*entries, storedRecord(texts, id));
    QByteArray before;
    if (!rewriteEntries(user, readAs, std::move(*entries), &before))
        return false;
    finishChange(ChangeKind::PastRecord, user, std::move(before), style, true);
    return true;
}

Outcome Diary::deleteRecord(int label, ChartStyle style)
{
    const int k = m_menuOffset + label;
    // A label without an entry, or with an entry whose caption is empty, names nothing.
    if (k < 0 || k >= m_recordCount)
        return {};
    const QString id = m_table[k][RecordIdField].displayText();
    if (id.isEmpty())
        return {};
    const QString user = m_currentUser;
    if (user.isEmpty()) {
        m_messages.inform(messages::ChooseOrAddUser);
        return {};
    }
    if (!m_folder.RecordFileExists(user)) {
        m_messages.inform(messages::NothingToModify);
        return {};
    }
    // The column must show this user's file, or the entry would be taken from someone else's.
    if (m_tableUser != user) {
        m_messages.inform(messages::DeleteNeedsDisplay);
        return {};
    }
    if (!m_messages.ask(messages::confirmDeleteRecord(isRecordIdText(id) ? recordDateCaption(id) : id)))
        return {};
    std::vector<HealthRecord> entries = tableEntries(m_table, m_recordCount);
    entries.erase(entries.begin() + k);
    QByteArray before;
    if (const FileResult saved = rewriteEntries(user, m_tableFingerprint, std::move(entries), &before); !saved) {
        if (saved.changedOutside) {
            // Show the file as it is now; the stale column goes.
            m_selectedRecord = -1;
            setMarks({});
            if (readTable(user, false))
                DrawTrendChart(style);
        }
        return {};
    }
    finishChange(ChangeKind::DeleteRecord, user, std::move(before), style, false);
    return Outcome::emptyFields();
}

Outcome Diary::undoLastChange(ChartStyle style)
{
    if (m_undo.isEmpty()) {
        m_messages.inform(messages::NothingToUndo);
        return {};
    }
    const UndoStep step = m_undo.last();
    if (!m_messages.ask(messages::confirmUndo(step.user, changeKindName(step.kind))))
        return {};
    // A file removed since (its user deleted) is not brought back.
    const FileResult restored = m_folder.RecordFileExists(step.user)
                                    ? m_folder.restoreRecordFile(step.user, step.after, step.before)
                                    : FileResult{false, {}, true};
    if (!restored) {
        if (!restored.changedOutside) {
            m_messages.inform(messages::saveFailed(restored.error));
            return {};
        }
        // Every older step of this user leads to a state the file has left as well.
        m_undo.forgetUser(step.user);
        m_messages.inform(messages::undoRefused(step.user));
        return {};
    }
    m_undo.dropLast();
    if (step.user == m_currentUser) {
        m_selectedRecord = -1;
        setMarks({});
        if (readTable(step.user, false))
            DrawTrendChart(style);
    }
    return {};
}

bool Diary::importRecords(QIODevice &table, ChartStyle style)
{
    const QString user = m_currentUser;
    if (user.isEmpty()) {
        m_messages.inform(messages::ChooseOrAddUser);
        return false;
    }
    QString error;
    const std::optional<QByteArray> bytes = readWholeDevice(table, &error);
    if (!bytes) {
        m_messages.inform(messages::tableUnreadable(error));
        return false;
    }
    FileFingerprint readAs;
    auto entries = readEntries(user, &readAs);
    if (!entries)
        return false;
    ImportPlan plan = planImport(*bytes, *entries, m_clock());
    if (!plan.error.isEmpty()) {
        m_messages.inform(plan.error);
        return false;
    }
    if (plan.toAdd.empty()) {
        m_messages.inform(importSummary(plan));
        return false;
    }
    if (!m_messages.ask(importSummary(plan)))
        return false;
    const int added = int(plan.toAdd.size());
    insertInTimeOrder(*entries, std::move(plan.toAdd));
    QByteArray before;
    if (!rewriteEntries(user, readAs, std::move(*entries), &before))
        return false;
    finishChange(ChangeKind::Import, user, std::move(before), style, true);
    m_messages.inform(messages::imported(added));
    return true;
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

void Diary::finishChange(ChangeKind kind, const QString &user, QByteArray before, ChartStyle style,
                         bool withDiagnosis)
{
    m_selectedRecord = -1;
    setMarks({});
    if (readTable(user, withDiagnosis))
        DrawTrendChart(style);
    rememberChange(kind, user, std::move(before));
}

// Called right after the re-read of the changed file: its fingerprint is what
// the change left. Without that read there is nothing safe to undo to.
void Diary::rememberChange(ChangeKind kind, const QString &user, QByteArray before)
{
    if (m_tableUser == user)
        m_undo.push({kind, user, std::move(before), m_tableFingerprint});
}

} // namespace velmora
