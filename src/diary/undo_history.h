#pragma once

#include "records/data_folder.h"
#include "records/text_file.h"

#include <QByteArray>
#include <QString>

#include <deque>

namespace velmora {

// The changes of a run that can be taken back.
enum class ChangeKind {
    Store,
    Modify,
    PastRecord,
    DeleteRecord,
    Import,
    BloodPressure,
    ReadingsImport,
    MedicineStart,
    MedicineAdjust,
    MedicineStop,
    MedicineSingle,
    MedicineDelete,
};

// What the change is called in the undo question ("存储数据", "导入记录", ...).
QString changeKindName(ChangeKind kind);

// One change of one of a user's files: what the file held before (nothing
// when there was no file), and the fingerprint of what the change left, so
// that an undo never writes over anything that came later.
struct UndoStep
{
    ChangeKind kind;
    QString user;
    FormerContent before;
    FileFingerprint after;
    UserFile file = UserFile::Records;

    qsizetype size() const { return before ? before->size() : 0; }
};

// The last changes, newest last, in memory only. It keeps at most MaxSteps
// steps and, beyond the newest one, at most MaxBytes of earlier file content:
// the oldest steps go first.
class UndoHistory
{
public:
    static constexpr int MaxSteps = 10;
    static constexpr qsizetype MaxBytes = 16 * 1024 * 1024;

    void push(UndoStep step);
    bool isEmpty() const { return m_steps.empty(); }
    int size() const { return int(m_steps.size()); }
    const UndoStep &last() const { return m_steps.back(); }
    void dropLast();
    // Drops every step of one file of a user (the file no longer follows from them).
    void forgetFile(const QString &user, UserFile file);

private:
    std::deque<UndoStep> m_steps;
    qsizetype m_bytes = 0;
};

} // namespace velmora
