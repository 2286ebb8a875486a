#pragma once

#include "backup/auto_backup.h"
#include "backup/restore_plan.h"
#include "chart/record_menu.h"
#include "chart/trend_chart.h"
#include "diary/entry.h"
#include "diary/import_dialogs.h"
#include "diary/seams.h"
#include "diary/undo_history.h"
#include "diary/user_lines.h"
#include "model/cvd_estimate.h"
#include "model/risk_model.h"
#include "model/score_breakdown.h"
#include "medicines/medicine_file.h"
#include "imports/readings_plan.h"
#include "readings/bp_file.h"
#include "records/data_folder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace velmora {

// What a workflow did and what it asks of the window beyond what the diary
// shows (its chart, column, marker and captions, which the window shows after
// every workflow). Made only through the named constructors below.
struct Outcome
{
    enum class Fields { Keep, Empty, Fill };
    // The file a workflow wrote: a record file (a store, modify, past record,
    // deletion, import or undo), the user list (with or without records), the
    // answers of the ten-year risk, the home blood pressure readings, the medicines.
    enum class Change { None, Records, Users, Answers, Readings, Medicines };

    Fields fields = Fields::Keep; // the thirteen entry controls
    EntryTexts texts;             // with Fill
    Change changed = Change::None;
    bool userListChanged = false;    // Combo2's list is to show userNames() again
    std::optional<QString> userText; // the new text of Combo2
    bool hideUserPanel = false;

    bool saved() const { return changed != Change::None; }

    static Outcome nothing() { return {}; }
    static Outcome emptyFields() { return with(Fields::Empty); }
    static Outcome fill(const EntryTexts &texts)
    {
        Outcome outcome = with(Fields::Fill);
        outcome.texts = texts;
        return outcome;
    }
    static Outcome records(Fields fields = Fields::Keep) { return with(fields, Change::Records); }
    static Outcome answers() { return with(Fields::Keep, Change::Answers); }
    static Outcome readings() { return with(Fields::Keep, Change::Readings); }
    static Outcome medicines() { return with(Fields::Keep, Change::Medicines); }
    static Outcome userPanelDone()
    {
        Outcome outcome;
        outcome.hideUserPanel = true;
        return outcome;
    }
    static Outcome userAdded(const QString &name)
    {
        Outcome outcome = userPanelDone();
        outcome.changed = Change::Users;
        outcome.userListChanged = true;
        outcome.userText = name;
        return outcome;
    }
    static Outcome userDeleted()
    {
        Outcome outcome = with(Fields::Empty, Change::Users);
        outcome.userListChanged = true;
        outcome.userText = QString();
        return outcome;
    }
    // After a restore: like a deletion, no user is chosen and the list is new.
    static Outcome diaryRestored() { return userDeleted(); }

private:
    static Outcome with(Fields fields, Change changed = Change::None)
    {
        Outcome outcome;
        outcome.fields = fields;
        outcome.changed = changed;
        return outcome;
    }
};

// The diary of the people of one program folder, without any window: the
// current user's records as last read (RecordTable, RecordCount, the
// ScoreColumn), the selection, the column offset, the current user and what
// the window shows of them. Every workflow of the main window's buttons and
// columns is a member here that takes the texts of the controls it reads and
// gives back what the window must do; messages and questions go through the
// MessageBoxes seam in the order the workflow meets them.
class Diary
{
public:
    Diary(DataFolder &folder, MessageBoxes &messages, Clock clock);

    // Start-up: clears what crashed saves left, makes sure the user list
    // exists and reads it. False when the program cannot keep its data (a
    // message has said so).
    bool load();

    // The state, for the window and the reports.
    const DataFolder &folder() const { return m_folder; }
    const QStringList &userNames() const { return m_userNames; }
    const QString &currentUser() const { return m_currentUser; }
    const QString &shownUser() const { return m_shownUser; } // Label5
    bool entryControlsEnabled() const { return m_entryEnabled; }
    const RecordTable &recordTable() const { return m_table; }
    int recordCount() const { return m_recordCount; }
    const std::vector<double> &scoreColumn() const { return m_scores; }
    const QString &tableUser() const { return m_tableUser; } // whose records the table holds; empty for none
    // The pass that made the ScoreColumn: the store pass alone applies the diagnosis.
    ScorePass scorePass() const { return m_scorePass; }
    // The score of table position `position` (below recordCount()) explained as that pass made it.
    ScoreBreakdown explainRecord(int position) const;
    int selectedRecord() const { return m_selectedRecord; }
    int menuOffset() const { return m_menuOffset; }
    const std::vector<ChartMark> &chartMarks() const { return m_marks; }
    int chartRevision() const { return m_chartRevision; } // grows with every change of the marks
    const std::array<QString, menu::LabelCount> &recordColumn() const { return m_column; }
    double markerTop() const { return m_markerTop; }
    const QString &selectedDate() const { return m_selectedDate; } // Label1
    const QString &selectedId() const { return m_selectedId; }     // Label7
    QDateTime now() const { return m_clock(); }

    // "清选择或添加用户!" when no user is shown (a title strip, the user caption); true when said.
    bool remindToChooseUser();
    // "清选择或添加用户!" when there is no current user, whose file a change
    // would write; true when said. Asked before a dialog opens for a change.
    bool refuseWithoutUser() const;

    // Users.
    Outcome pickUser(const QString &listedName);
    Outcome confirmUser(const QString &userText);
    Outcome deleteUser(const QString &userText);

    // Records.
    Outcome display(const QString &userText, ChartStyle style);
    Outcome StoreRecord(const EntryTexts &texts, ChartStyle style);
    Outcome LoadRecord(int label);
    Outcome doubleClickRecord(int label, const QString &userText, ChartStyle style);
    Outcome ModifyRecord(const QString &userText, const EntryTexts &texts, ChartStyle style);
    Outcome ClearEntry();

    // The marker: moved to a new top within its track, the column follows.
    void dragMarkerTo(double newTop);
    // The marker moved by the travel of that many entries (a wheel's notches).
    void scrollColumn(int entries);

private:
    void setCurrentUser(const QString &name);
    bool refuseUnsafeName(const QString &name);
    bool reloadUserNames();
    bool readTable(const QString &user, bool withDiagnosis);
    void DrawTrendChart(ChartStyle style, std::optional<int> highlight = std::nullopt);
    void ShowRecordColumn(int start);
    void setMarks(std::vector<ChartMark> marks);
    void clearRecordColumn();
    void showSelection(int position);
    EntryTexts textsAt(int position) const;
    void dropTable();

    DataFolder &m_folder;
    MessageBoxes &m_messages;
    Clock m_clock;
    RiskModel m_model;

    QStringList m_userNames;
    QString m_currentUser;
    QString m_shownUser;
    bool m_entryEnabled = false;

    RecordTable m_table;
    QString m_tableUser;
    FileFingerprint m_tableFingerprint; // of the bytes the table was read from
    int m_recordCount = 0;
    std::vector<double> m_scores;
    ScorePass m_scorePass = ScorePass::Display;
    int m_selectedRecord = -1;
    int m_menuOffset = 0;

    std::vector<ChartMark> m_marks;
    int m_chartRevision = 0;
    std::array<QString, menu::LabelCount> m_column;
    double m_markerTop = menu::MarkerTrackTop; // where the window design puts it
    QString m_selectedDate;
    QString m_selectedId;

    // ---- History: past measurements, single deletions, undo, record tables
    // brought in (diary_history.cpp). Each of them leaves no entry selected,
    // since entries may have moved to other positions.
public:
    // A measurement taken earlier ("补录历史记录…"): stored for the current
    // user as the store stores the boxes, with the chosen time as its RecordId,
    // among the entries in time order. When stored, the chart and column show
    // the file as after a store.
    Outcome addPastRecord(const QDateTime &when, const EntryTexts &texts, ChartStyle style);
    // "删除此条记录…" on record label `label`: asks, then rewrites the file
    // without that entry and redraws as the display does.
    Outcome deleteRecord(int label, ChartStyle style);
    // "撤销上一次修改": asks, then puts back what the file of the last change's
    // user held before it, unless the file has changed since.
    Outcome undoLastChange(ChartStyle style);
    bool canUndo() const { return !m_undo.isEmpty(); }
    // "导入记录表格…": the bytes of a record table the window read; shows
    // what it would bring and asks; on Yes adds the new rows to the current
    // user's file in one save.
    Outcome importRecords(const QByteArray &table, ChartStyle style);

private:
    std::optional<std::vector<HealthRecord>> readEntries(const QString &user, FileFingerprint *readAs);
    FileResult rewriteEntries(const QString &user, const FileFingerprint &readAs, std::vector<HealthRecord> entries,
                              QByteArray *before);
    bool showFile(const QString &user, ChartStyle style, bool withDiagnosis,
                  std::optional<int> highlight = std::nullopt);
    void finishChange(ChangeKind kind, const QString &user, QByteArray before, ChartStyle style, bool withDiagnosis);
    void rememberChange(ChangeKind kind, const QString &user, QByteArray before);

    UndoHistory m_undo;

    // ---- The ten-year cardiovascular risk beside the score (diary_cvd.cpp).
    // The person's answers are read with their records and kept in a file of
    // their own, which no other workflow touches.
public:
    // The answers of the user whose records the table holds; none without a table.
    const CvdAnswers &cvdAnswers() const { return m_cvdAnswers; }
    // What the table's records suggest for the questions.
    CvdAnswers cvdHints() const;
    // Keeps the answers of the table's user; saves nothing (a message has said
    // why) when there is no table or the file cannot be written.
    Outcome saveCvdAnswers(const CvdAnswers &answers);
    // The risk of table position `position` with the answers.
    CvdEstimate estimateRecord(int position) const;

private:
    void loadCvdAnswers();

    CvdAnswers m_cvdAnswers;

    // ---- Home blood pressure readings (diary_bp.cpp), in "<name>.bp" beside
    // the record file; no record is touched by them.
public:
    // A reading as the dialog's boxes hold it.
    struct TypedReading
    {
        QDateTime when;
        QString systolic, diastolic, pulse, note;
    };
    // "记录血压…": checks the boxes and stores the reading for the current
    // user, among the readings in time order, in one save.
    Outcome recordBloodPressure(const TypedReading &typed);
    // The current user's readings as the file holds them now (read again only
    // when the file has changed); none without a current user or when the
    // file cannot be read (a message has said why). Lines the file holds that
    // cannot be read are counted in a message, once for each count.
    const BpFile *homeReadings(const QString &user) const;

    // "导入血压读数…": the readings of a file from elsewhere (the monitor
    // app's table, the phone's health export, any table with columns a
    // person chooses, the program's own table of readings), told by its
    // content. A summary first; on 导入 the new readings join the current
    // user's in time order in one save, which one undo takes back. Nothing
    // is written on 取消, on a cancelled read or for a file refused.
    Outcome importReadings(QIODevice &file, ReadingsImportDialogs &dialogs);

private:
    Outcome importTable(QIODevice &file, ReadingsImportDialogs &dialogs, const BpFile &before,
                        const FileFingerprint &readAs);
    bool addImported(const FileFingerprint &readAs, BpFile file, std::vector<BpReading> added);
    // Rewrites one of the user's files of dated entries with `content` (none:
    // an entry holds a text the file cannot keep, which `unkept` names), but
    // only while it holds what `lines` last read, and leaves an undo step;
    // `lines` then holds the file as written. False when nothing was written
    // (a message has said why).
    template <typename Entry>
    bool rewriteUserLines(UserLines<Entry> &lines, ChangeKind kind, const QString &user, UserFile which,
                          LineFile<Entry> file, const std::optional<QByteArray> &content, const QString &unkept)
    {
        const std::optional<FileFingerprint> written =
            rewriteUserContent(kind, user, which, lines.fingerprint(), content, unkept);
        if (written)
            lines.keep(user, *written, std::move(file));
        return written.has_value();
    }
    std::optional<FileFingerprint> rewriteUserContent(ChangeKind kind, const QString &user, UserFile which,
                                                      const FileFingerprint &readAs,
                                                      const std::optional<QByteArray> &content, const QString &unkept);

    mutable UserLines<BpReading> m_readings;

    // ---- The medicine diary (diary_med.cpp), in "<name>.med" beside the
    // record file; no record or reading is touched by it.
public:
    // An event as the dialog's boxes hold it.
    struct TypedMedicine
    {
        QDateTime when;
        MedicineAction action = MedicineAction::Start;
        QString name, dose, frequency, note;
    };
    // "开始服用…", "调整…", "停用…", "单次服用…": checks the boxes, and for
    // a change what is taken at that time (调整 and 停用 only of a medicine
    // taken then, 开始 only of one not taken then), and stores the event for
    // the current user among the events in time order, in one save.
    Outcome recordMedicine(const TypedMedicine &typed);
    // "删除此条…": asks, then removes the event at `index` of the current
    // user's events, which must still be the one the window showed (else
    // a message says the file has changed and nothing is deleted).
    Outcome deleteMedicineEvent(size_t index, const MedicineEvent &shown);
    // The user's events as the file holds them now, as homeReadings() reads
    // the readings.
    const MedicineFile *medicines(const QString &user) const;
    // The user's blood pressure, home readings and check-up records together
    // in time order: the records as last read when the table holds the
    // user's, else as the file holds them now.
    std::vector<BpReading> bloodPressureReadings(const QString &user) const;

private:
    bool saveMedicines(ChangeKind kind, const QString &user, MedicineFile file);

    mutable UserLines<MedicineEvent> m_medicines;

    // ---- Backups (diary_backup.cpp): the whole diary in one zip with a
    // manifest, made by hand into a folder, each day into the program folder,
    // and brought back.
public:
    // "备份日记…": the whole diary in one zip in that folder; says where and
    // what, or why there is none. Then offers the folder for a copy of every
    // daily backup, unless it is that folder already.
    Outcome backUpTo(const QString &folder);
    // The day's automatic backup when it is due (after the start, after a
    // change); once they have failed for seven days in a row, says so once.
    Outcome backUpDailyIfDue();
    // The automatic backups, newest first.
    std::vector<BackupListing> automaticBackups() const { return m_backups.list(); }
    QString automaticBackupFolder() const { return m_backups.folderPath(); }
    // "恢复备份…" from the zip at `path`: checks it whole, says what it would
    // bring back and asks how; backs the diary up as it is, then restores all
    // of it or nothing. The undo steps of this run go (the files have changed
    // under them), and the message says so.
    Outcome restoreBackup(const QString &path, RestoreChoice &choice);

private:
    std::optional<BackupCheck> checkedBackup(const QString &path);
    std::optional<RestorePlan> planRestore(const BackupCheck &backup, const RestoreRequest &request);
    bool restoreAfterBackup(const QString &what, const std::vector<FileChange> &changes);
    void showRestoredDiary();

    AutoBackups m_backups;
};

} // namespace velmora
