#include "diary/diary.h"

#include "diary/messages.h"
#include "records/gbk.h"
#include "records/record_id.h"
#include "records/user_name.h"

#include <algorithm>

namespace velmora {

Diary::Diary(DataFolder &folder, MessageBoxes &messages, Clock clock)
    : m_folder(folder), m_messages(messages), m_clock(std::move(clock)), m_backups(folder)
{
}

bool Diary::load()
{
    m_selectedRecord = -1;
    m_model = RiskModel();
    m_folder.removeLeftoverSaves();
    if (const FileResult created = m_folder.ensureUserList(); !created) {
        m_messages.inform(messages::noDataFolder(created.error));
        return false;
    }
    return reloadUserNames();
}

bool Diary::reloadUserNames()
{
    QString error;
    const auto names = m_folder.loadUserNames(&error);
    if (!names) {
        m_messages.inform(messages::readFailed(error));
        return false;
    }
    m_userNames.clear();
    for (const QByteArray &name : *names)
        m_userNames << decodeGbk(name);
    return true;
}

void Diary::setCurrentUser(const QString &name)
{
    // A selection made in another user's records must never be written into this user's file.
    if (name != m_currentUser)
        m_selectedRecord = -1;
    m_currentUser = name;
}

bool Diary::refuseUnsafeName(const QString &name)
{
    if (isSafeUserName(name))
        return false;
    m_messages.inform(messages::UnsafeUserName);
    return true;
}

// ---------------------------------------------------------------------------
// Users

bool Diary::remindToChooseUser()
{
    if (!m_shownUser.isEmpty())
        return false;
    m_messages.inform(messages::ChooseOrAddUser);
    return true;
}

bool Diary::refuseWithoutUser() const
{
    if (!m_currentUser.isEmpty())
        return false;
    m_messages.inform(messages::ChooseOrAddUser);
    return true;
}

Outcome Diary::pickUser(const QString &listedName)
{
    // A hand-edited list may hold names that cannot name a file: they never become current.
    if (refuseUnsafeName(listedName.trimmed()))
        return Outcome::nothing();
    setCurrentUser(listedName.trimmed());
    m_shownUser = listedName;
    return Outcome::nothing();
}

Outcome Diary::confirmUser(const QString &userText)
{
    if (userText.isEmpty()) {
        m_messages.inform(messages::NoUserChosen);
        return Outcome::userPanelDone();
    }
    // Nothing is written, and no user is confirmed, under a name that cannot name a file.
    if (refuseUnsafeName(userText))
        return Outcome::nothing();
    // The user changes only once every file step has worked: a failure
    // leaves the previous user current.
    QString error;
    const auto names = m_folder.loadUserNames(&error);
    if (!names) {
        m_messages.inform(messages::readFailed(error));
        return Outcome::userPanelDone();
    }
    const bool listed = std::find(names->begin(), names->end(), gbk(userText)) != names->end();
    // Windows does not tell Ann.dat from ann.dat: a second name would take
    // over the first one's records, and its deletion would delete them.
    const auto sameFile = std::find_if(names->begin(), names->end(), [&](const QByteArray &name) {
        return decodeGbk(name).compare(userText, Qt::CaseInsensitive) == 0;
    });
    if (!listed && sameFile != names->end()) {
        m_messages.inform(messages::nameDiffersOnlyInCase(decodeGbk(*sameFile)));
        return Outcome::userPanelDone();
    }
    if (!listed) {
        if (const FileResult added = m_folder.addUser(userText); !added) {
            m_messages.inform(messages::saveFailed(added.error));
            return Outcome::userPanelDone();
        }
        reloadUserNames();
    }
    m_shownUser = userText;
    m_entryEnabled = true;
    setCurrentUser(userText); // the user shown is the user whose file is used
    if (listed)
        return Outcome::userPanelDone();
    m_messages.inform(messages::UserCreated);
    return Outcome::userAdded(userText);
}

Outcome Diary::deleteUser(const QString &userText)
{
    if (userText.isEmpty()) {
        m_messages.inform(messages::ChooseUser);
        return Outcome::nothing();
    }
    if (refuseUnsafeName(userText))
        return Outcome::nothing();
    if (!m_messages.ask(messages::ConfirmDelete))
        return Outcome::nothing();
    // Either the user and the records go together, or nothing changes.
    if (const FileResult deleted = m_folder.deleteUser(userText); !deleted) {
        m_messages.inform(messages::deleteFailed(deleted.error));
        return Outcome::nothing();
    }
    setMarks({});
    reloadUserNames();
    clearRecordColumn();
    m_shownUser.clear();
    // The deleted records must not come back through the table or a later modify.
    dropTable();
    m_markerTop = menu::MarkerHomeTop;
    m_messages.inform(messages::UserDeleted);
    m_entryEnabled = false;
    return Outcome::userDeleted();
}

// ---------------------------------------------------------------------------
// Records

bool Diary::readTable(const QString &user, bool withDiagnosis)
{
    // Labels past the new count must show nothing.
    m_table.clearRecordIds();
    std::vector<double> scores;
    const ReadResult read = m_folder.readRecordFile(user, m_table, [&](int index, const HealthRecord &record) {
        if (size_t(index) >= scores.size())
            scores.resize(size_t(index) + 1);
        scores[size_t(index)] = withDiagnosis ? m_model.scoreWithDiagnosis(record) : m_model.ScoreRecord(record);
    });
    if (!read) {
        dropTable();
        m_messages.inform(messages::readFailed(read.error));
        return false;
    }
    m_scores = std::move(scores);
    m_scorePass = withDiagnosis ? ScorePass::Store : ScorePass::Display;
    m_recordCount = read.count;
    m_tableUser = user;
    m_tableFingerprint = read.fingerprint;
    loadCvdAnswers();
    return true;
}

Outcome Diary::display(const QString &userText, ChartStyle style)
{
    if (userText.isEmpty() || m_currentUser.isEmpty())
        return Outcome::nothing();
    // The file read is always the current user's, whatever the panel's text.
    if (!m_folder.RecordFileExists(m_currentUser))
        return Outcome::nothing();
    showFile(m_currentUser, style, false);
    if (m_selectedDate.isEmpty())
        m_selectedRecord = -1;
    return Outcome::emptyFields();
}

Outcome Diary::StoreRecord(const EntryTexts &texts, ChartStyle style)
{
    if (refuseWithoutUser())
        return Outcome::nothing();
    const QString user = m_currentUser;
    if (!m_messages.ask(messages::ConfirmStore))
        return Outcome::nothing();
    if (!m_folder.RecordFileExists(user))
        return Outcome::nothing();
    if (!entryPassesChecks(texts)) {
        m_messages.inform(messages::InvalidEntry);
        return Outcome::emptyFields();
    }
    // The old entries come from a complete read, or nothing is written at all.
    RecordTable scratch;
    const ReadResult old = m_folder.readRecordFile(user, scratch);
    if (!old) {
        m_messages.inform(messages::readFailed(old.error));
        return Outcome::nothing();
    }
    const HealthRecord fresh = storedRecord(texts, m_clock().toString(QStringLiteral("yyyyMMddHHmmss")));
    QByteArray before;
    if (const FileResult saved =
            m_folder.RewriteRecordFile(user, old.fingerprint, scratch, old.count, RewriteMode::Append, &fresh, &before);
        !saved) {
        m_messages.inform(saved.changedOutside ? messages::ChangedOutside : messages::saveFailed(saved.error));
        return Outcome::nothing();
    }
    finishChange(ChangeKind::Store, user, std::move(before), style, true);
    return Outcome::records(Outcome::Fields::Empty);
}

Outcome Diary::LoadRecord(int label)
{
    const int k = m_menuOffset + label;
    m_selectedRecord = k;
    showSelection(k);
    const Outcome outcome = Outcome::fill(textsAt(k));
    if (m_selectedDate.isEmpty())
        m_selectedRecord = -1;
    return outcome;
}

Outcome Diary::doubleClickRecord(int label, const QString &userText, ChartStyle style)
{
    if (userText.isEmpty()) {
        m_messages.inform(messages::NameEmpty);
        return Outcome::nothing();
    }
    if (refuseUnsafeName(userText.trimmed()))
        return Outcome::nothing();
    setCurrentUser(userText.trimmed());
    // Without a file there is nothing to read or show.
    if (!m_folder.RecordFileExists(m_currentUser))
        return Outcome::nothing();
    const int p = m_menuOffset + label;
    if (!showFile(m_currentUser, style, false, p))
        return Outcome::nothing();
    m_selectedRecord = p;
    showSelection(p);
    const Outcome outcome = Outcome::fill(textsAt(p));
    if (m_selectedDate.isEmpty())
        m_selectedRecord = -1;
    return outcome;
}

Outcome Diary::ModifyRecord(const QString &userText, const EntryTexts &texts, ChartStyle style)
{
    const QString user = m_currentUser;
    if (userText.isEmpty() || user.isEmpty()) {
        m_messages.inform(messages::ChooseOrAddUser);
        return Outcome::nothing();
    }
    if (!m_folder.RecordFileExists(user)) {
        m_messages.inform(messages::NothingToModify);
        return Outcome::nothing();
    }
    if ((texts.sex != QStringLiteral("男") && texts.sex != QStringLiteral("女")) || m_selectedRecord <= -1)
        return Outcome::nothing();
    // The table must hold this user's file, or the rewrite would replace it with someone else's entries.
    if (m_tableUser != user)
        return Outcome::nothing();

    const int k = m_selectedRecord;
    std::optional<HealthRecord> previous;
    if (m_table.contains(k)) {
        previous = m_table[k];
        m_table[k] = typedRecord(texts, m_selectedId);
    }
    QByteArray before;
    const FileResult saved = m_folder.RewriteRecordFile(user, m_tableFingerprint, m_table, m_recordCount,
                                                        RewriteMode::Modify, nullptr, &before);
    if (!saved) {
        if (previous)
            m_table[k] = *previous; // the table keeps mirroring the file
        if (!saved.changedOutside) {
            m_messages.inform(messages::saveFailed(saved.error));
            return Outcome::nothing();
        }
        // Someone else's change is kept: show the file as it is now; the typed
        // values stay in the boxes, the stale selection goes.
        m_messages.inform(messages::ChangedOutside);
        m_selectedRecord = -1;
        showFile(user, style, false);
        return Outcome::nothing();
    }
    m_messages.inform(messages::Modified);
    finishChange(ChangeKind::Modify, user, std::move(before), style, false);
    return Outcome::records(Outcome::Fields::Empty);
}

Outcome Diary::ClearEntry()
{
    setMarks({});
    clearRecordColumn();
    dropTable();
    m_markerTop = menu::MarkerHomeTop;
    return Outcome::emptyFields();
}

ScoreBreakdown Diary::explainRecord(int position) const
{
    return explainScore(m_table[position], m_model.coefficients(), m_scorePass);
}

void Diary::dropTable()
{
    m_table.clear();
    m_tableUser.clear();
    m_tableFingerprint = {};
    m_cvdAnswers = {};
    m_scores.clear();
    m_menuOffset = 0;
    m_recordCount = 0;
    m_selectedRecord = -1;
}

// ---------------------------------------------------------------------------
// Chart, column and marker

void Diary::setMarks(std::vector<ChartMark> marks)
{
    m_marks = std::move(marks);
    ++m_chartRevision;
}

void Diary::DrawTrendChart(ChartStyle style, std::optional<int> highlight)
{
    // A redraw lists the column from position 0 again, so label j means position j.
    m_menuOffset = 0;
    ShowRecordColumn(0);
    setMarks(trendChartMarks(m_scores, m_recordCount, style, highlight));
    m_markerTop = menu::MarkerHomeTop;
}

void Diary::ShowRecordColumn(int start)
{
    // A label past the table shows nothing: an older caption there would name
    // an entry the label does not stand for.
    for (int j = 0; j < menu::LabelCount; ++j) {
        const int position = start + j;
        m_column[size_t(j)] = m_table.contains(position) ? m_table[position][RecordIdField].displayText() : QString();
    }
}

void Diary::clearRecordColumn()
{
    m_column.fill(QString());
}

void Diary::dragMarkerTo(double newTop)
{
    m_markerTop = clampMarkerTop(newTop);
    m_menuOffset = menuOffsetForMarker(m_markerTop, m_recordCount).value_or(0);
    ShowRecordColumn(m_menuOffset);
}

void Diary::scrollColumn(int entries)
{
    if (m_recordCount > 0)
        dragMarkerTo(m_markerTop + entries * twipsPerEntry(m_recordCount));
}

void Diary::showSelection(int position)
{
    m_selectedId = m_table.contains(position) ? m_table[position][RecordIdField].displayText() : QString();
    if (!m_selectedId.isEmpty())
        m_selectedDate = recordDateCaption(m_selectedId);
}

EntryTexts Diary::textsAt(int position) const
{
    return m_table.contains(position) ? entryTexts(m_table[position]) : EntryTexts{};
}

} // namespace velmora
