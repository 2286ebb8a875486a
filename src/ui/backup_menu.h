#pragma once

// The backups in the context menu of the chart and of the column of records,
// in a group of their own at its end: "备份日记…" (Ctrl+Shift+K) and
// "恢复备份…". It also starts the daily backup once the window has first
// been painted, and again after the first change of a new day.

#include <QObject>

class QAction;

namespace velmora {

class BackupChooser;
class FileDialogs;
class Form1;
class RestoreChoice;

class BackupMenu : public QObject
{
    Q_OBJECT
public:
    BackupMenu(Form1 &window, FileDialogs &dialogs, BackupChooser &chooser, RestoreChoice &choice);

    QAction *backUpAction() const { return m_backUp; }
    QAction *restoreAction() const { return m_restore; }

    void backUp();
    void restore();

signals:
    // The daily backup was due and has been tried, or was not due.
    void dailyBackupTried();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void backUpDaily();

    Form1 &m_window;
    FileDialogs &m_dialogs;
    BackupChooser &m_chooser;
    RestoreChoice &m_choice;
    QAction *m_backUp = nullptr;
    QAction *m_restore = nullptr;
    bool m_painted = false;
};

} // namespace velmora
