#pragma once

#include "records/text_file.h"

#include <QByteArray>
#include <QString>

#include <deque>

namespace velmora {

// The changes of a run that can be taken back.
enum class ChangeKind { Store, Modify, PastRecord, DeleteRecord, Import };

// What the change is called in the undo question ("存储数据", "导入记录", ...).
QString changeKindName(ChangeKind kind);

// One change of one user's record file: what the file held before, and the
// fingerprint of what the change left, so that an undo never writes over
// anything that came later.
struct UndoStep
{
    ChangeKind kind;
    QString user;
    QByteArray before;
    FileFingerprint after;
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
    // Drops every step of one user (the file no longer follows from them).
    void forgetUser(const QString &user);

private:
    std::deque<UndoStep> m_steps;
    qsizetype m_bytes = 0;
};

} // namespace velmora
