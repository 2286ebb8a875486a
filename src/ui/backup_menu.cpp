#include "ui/backup_menu.h"

#include "backup/removable_drives.h"
#include "ui/form1.h"
#include "ui/restore_dialogs.h"
#include "widgets/context_menu.h"
#include "widgets/file_dialogs.h"

#include <QAction>
#include <QEvent>
#include <QTimer>

#include <chrono>

namespace velmora {

BackupMenu::BackupMenu(Form1 &window, FileDialogs &dialogs, BackupChooser &chooser, RestoreChoice &choice)
    : QObject(&window.contextMenu()), m_window(window), m_dialogs(dialogs), m_chooser(chooser), m_choice(choice)
{
    setObjectName(QStringLiteral("BackupMenu"));
    ContextMenu &menu = window.contextMenu();
    menu.addSeparator();
    m_backUp = menu.addAction(QStringLiteral("备份日记…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K), [this] { backUp(); });
    m_restore = menu.addAction(QStringLiteral("恢复备份…"), {}, [this] { restore(); });
    m_backUp->setObjectName(QStringLiteral("BackUpDiary"));
    m_restore->setObjectName(QStringLiteral("RestoreBackup"));
    m_backUp->setToolTip(QStringLiteral("把全部用户的日记备份成一个 ZIP 文件，例如存到U盘"));
    m_restore->setToolTip(QStringLiteral("从自动备份或其他备份文件恢复日记"));
    // After a change, once the change has been shown.
    connect(&window, &Form1::diaryChanged, this, &BackupMenu::backUpDaily, Qt::QueuedConnection);
    window.installEventFilter(this);
}

void BackupMenu::backUp()
{
    QStringList drives;
    for (const Drive &drive : backupDrives())
        drives << drive.root;
    const QString folder = m_dialogs.folderName(QStringLiteral("备份日记：选择存放备份的文件夹"), drives);
    if (!folder.isEmpty())
        m_window.changeDiary([&](Diary &diary, ChartStyle) { return diary.backUpTo(folder); });
}

void BackupMenu::restore()
{
    const QString path = m_chooser.choose(m_window.diary().automaticBackups());
    if (!path.isEmpty())
        m_window.changeDiary([&](Diary &diary, ChartStyle) { return diary.restoreBackup(path, m_choice); });
}

void BackupMenu::backUpDaily()
{
    m_window.changeDiary([](Diary &diary, ChartStyle) { return diary.backUpDailyIfDue(); });
    emit dailyBackupTried();
}

// The first backup of the day waits until the window has been painted and
// the start is over (a timer of no delay would still run among the start's
// own events): the start is not held up by it.
bool BackupMenu::eventFilter(QObject *watched, QEvent *event)
{
    constexpr std::chrono::milliseconds AfterFirstPaint(500);
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        m_window.removeEventFilter(this);
        QTimer::singleShot(AfterFirstPaint, this, &BackupMenu::backUpDaily);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora
