#pragma once

// The dialogs of "恢复备份…": the list of automatic backups (with the way to
// any other zip), and, after the check, the summary with the choice of the
// whole diary or chosen users. Tests script both.

#include "backup/auto_backup.h"
#include "diary/seams.h"

#include <vector>

class QWidget;

namespace velmora {

class FileDialogs;

// The backup a restore starts from.
class BackupChooser
{
public:
    virtual ~BackupChooser() = default;
    // The path of the backup chosen, or an empty string when cancelled.
    virtual QString choose(const std::vector<BackupListing> &automatic) = 0;
};

// A modal list of the automatic backups (date, users, records), newest
// first, with "选择其他备份文件…" for a zip anywhere (through the file dialogs).
class QtBackupChooser : public BackupChooser
{
public:
    QtBackupChooser(QWidget *parent, FileDialogs &files) : m_parent(parent), m_files(files) {}
    QString choose(const std::vector<BackupListing> &automatic) override;

private:
    QWidget *m_parent;
    FileDialogs &m_files;
};

// A modal dialog: the summary, "用备份替换整个日记" or "只恢复选中的用户"
// with the users to tick, and 恢复 / 取消.
class QtRestoreChoice : public RestoreChoice
{
public:
    explicit QtRestoreChoice(QWidget *parent) : m_parent(parent) {}
    std::optional<RestoreRequest> choose(const QString &summary, const QStringList &users,
                                         bool wholeDiaryOffered) override;

private:
    QWidget *m_parent;
};

} // namespace velmora
