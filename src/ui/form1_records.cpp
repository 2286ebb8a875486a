// Showing, storing, loading, modifying and clearing records.

#include "form1.h"

#include "chart/record_menu.h"
#include "controls.h"
#include "messages.h"
#include "records/user_name.h"
#include "trend_chart_view.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace velmora {

namespace {

// The boxes of the factors in file order (Text2 .. Text12 are indexed 2 .. 12).
constexpr int NumericBoxesInFileOrder[11] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

struct Limit
{
    int box;
    double maximum;
};
// Upper limits of the numeric boxes, inclusive. Age also has a lower limit of 1.
constexpr Limit UpperLimits[] = {{2, 130}, {3, 230}, {4, 200}, {5, 20},  {6, 300}, {7, 300},
                                 {8, 40},  {9, 100}, {10, 100}, {11, 20}};

} // namespace

void Form1::emptyEntryFields()
{
    for (QLineEdit *edit : m_text)
        edit->clear();
    m_combo12->setEditText(QString());
    m_combo1->setEditText(QString());
}

void Form1::fillEntryFields(int position)
{
    const HealthRecord empty;
    const HealthRecord &record = m_table.contains(position) ? m_table[position] : empty;
    m_combo1->setEditText(record[SexField].displayText());
    for (int i = 0; i < 11; ++i)
        text(NumericBoxesInFileOrder[i])->setText(record[Field(AgeField + i)].displayText());
    m_combo12->setEditText(record[HeredityField].displayText());
}

std::optional<int> Form1::readTableFor(const QString &user, bool withDiagnosis)
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
        return std::nullopt;
    }
    m_scores = std::move(scores);
    m_recordCount = read.count;
    m_tableUser = user;
    m_tableFingerprint = read.fingerprint;
    return read.count;
}

void Form1::display()
{
    if (m_combo2->currentText().isEmpty())
        return;
    const QString user = m_state.CurrentUser;
    if (user.isEmpty())
        return;
    if (refuseUnsafeName(user))
        return;
    if (!m_folder.RecordFileExists(user))
        return;
    showFile(user);
}

void Form1::showFile(const QString &user)
{
    m_picture1->clearMarks();
    if (readTableFor(user, false))
        DrawTrendChart();
    emptyEntryFields();
    if (m_label1->text().isEmpty())
        m_selectedRecord = -1;
}

bool Form1::entryPassesChecks() const
{
    const QString sex = m_combo1->currentText();
    if (sex != QStringLiteral("男") && sex != QStringLiteral("女"))
        return false;
    if (leadingNumberValue(text(2)->text()) < 1)
        return false;
    for (const Limit &limit : UpperLimits)
        if (leadingNumberValue(text(limit.box)->text()) > limit.maximum)
            return false;
    const QString heredity = m_combo12->currentText();
    return heredity == QStringLiteral("有") || heredity == QStringLiteral("无") || heredity.isEmpty();
}

HealthRecord Form1::recordFromBoxes(const QString &recordId) const
{
    HealthRecord record;
    record[RecordIdField] = Item::fromText(recordId);
    record[SexField] = Item::fromText(m_combo1->currentText());
    for (int i = 0; i < 11; ++i)
        record[Field(AgeField + i)] = Item::fromNumber(leadingNumberValue(text(NumericBoxesInFileOrder[i])->text()));
    record[HeredityField] = Item::fromText(m_combo12->currentText());
    return record;
}

void Form1::StoreRecord()
{
    const QString user = m_state.CurrentUser;
    if (user.isEmpty()) {
        m_messages.inform(messages::ChooseOrAddUser);
        return;
    }
    if (refuseUnsafeName(user))
        return;
    if (!m_messages.ask(messages::ConfirmStore))
        return;
    if (!m_folder.RecordFileExists(user))
        return;
    if (!entryPassesChecks()) {
        m_messages.inform(messages::InvalidEntry);
        emptyEntryFields();
        return;
    }

    // The old entries come from a complete read, or nothing is written at all.
    RecordTable scratch;
    const ReadResult old = m_folder.readRecordFile(user, scratch);
    if (!old) {
        m_messages.inform(messages::readFailed(old.error));
        return;
    }
    const QString recordId = m_clock().toString(QStringLiteral("yyyyMMddHHmmss"));
    const HealthRecord fresh = recordFromBoxes(recordId);
    if (const FileResult saved =
            m_folder.RewriteRecordFile(user, old.fingerprint, scratch, old.count, RewriteMode::Append, &fresh);
        !saved) {
        m_messages.inform(saved.changedOutside ? messages::ChangedOutside : messages::saveFailed(saved.error));
        return;
    }

    m_picture1->clearMarks();
    if (readTableFor(user, true))
        DrawTrendChart();
    emptyEntryFields();
}

void Form1::LoadRecord(int label)
{
    const int k = m_menuOffset + label;
    m_selectedRecord = k;
    showSelectedCaptions(k);
    fillEntryFields(k);
    if (m_label1->text().isEmpty())
        m_selectedRecord = -1;
}

void Form1::ModifyRecord()
{
    const QString user = m_state.CurrentUser;
    if (m_combo2->currentText().isEmpty() || user.isEmpty()) {
        m_messages.inform(messages::ChooseOrAddUser);
        return;
    }
    if (refuseUnsafeName(user))
        return;
    if (!m_folder.RecordFileExists(user)) {
        m_messages.inform(messages::NothingToModify);
        return;
    }
    const QString sex = m_combo1->currentText();
    if ((sex != QStringLiteral("男") && sex != QStringLiteral("女")) || m_selectedRecord <= -1)
        return;
    // The table must hold this user's file, or the rewrite would replace it with someone else's entries.
    if (m_tableUser != user)
        return;

    const int k = m_selectedRecord;
    std::optional<HealthRecord> previous;
    if (m_table.contains(k)) {
        previous = m_table[k];
        HealthRecord &record = m_table[k];
        record[RecordIdField] = Item::fromText(m_label7->text());
        record[SexField] = Item::fromText(sex);
        for (int i = 0; i < 11; ++i)
            record[Field(AgeField + i)] = Item::fromText(text(NumericBoxesInFileOrder[i])->text());
        record[HeredityField] = Item::fromText(m_combo12->currentText());
    }
    if (const FileResult saved =
            m_folder.RewriteRecordFile(user, m_tableFingerprint, m_table, m_recordCount, RewriteMode::Modify);
        !saved) {
        if (previous)
            m_table[k] = *previous; // the table keeps mirroring the file
        if (!saved.changedOutside) {
            m_messages.inform(messages::saveFailed(saved.error));
            return;
        }
        // Someone else's change is kept: show the file as it is now; the typed
        // values stay in the boxes, the stale selection goes.
        m_messages.inform(messages::ChangedOutside);
        m_selectedRecord = -1;
        m_picture1->clearMarks();
        if (readTableFor(user, false))
            DrawTrendChart();
        return;
    }
    m_messages.inform(messages::Modified);
    m_selectedRecord = -1;
    showFile(user);
}

void Form1::ClearEntry()
{
    for (QLineEdit *edit : m_text)
        edit->clear();
    m_combo12->setEditText(QString());
    m_combo1->setEditText(QString());
    m_picture1->clearMarks();
    clearRecordMenu();
    dropTable();
    moveMarkerHome();
}

void Form1::dropTable()
{
    m_table.clear();
    m_tableUser.clear();
    m_tableFingerprint = {};
    m_scores.clear();
    m_menuOffset = 0;
    m_recordCount = 0;
    m_selectedRecord = -1;
}

} // namespace velmora
