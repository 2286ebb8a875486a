// The backups through the real window: their entries at the end of the
// context menu, Ctrl+Shift+K with the folder dialog, the day's backup once the
// window is painted and after a change on a new day, and the two dialogs of a
// restore.

#include "backup/removable_drives.h"
#include "gui_support.h"
#include "ui/backup_menu.h"
#include "ui/restore_dialogs.h"
#include "widgets/context_menu.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTreeWidget>

using namespace velmora;
using namespace velmora::test;

namespace {

class ScriptedChooser : public BackupChooser
{
public:
    QString path;
    size_t listed = 0;
    QString choose(const std::vector<BackupListing> &automatic) override
    {
        listed = automatic.size();
        return path;
    }
};

class NoChoice : public RestoreChoice
{
public:
    std::optional<RestoreRequest> choose(const QString &, const QStringList &, bool) override { return std::nullopt; }
};

struct Backups
{
    ScriptedFileDialogs dialogs; // outlive the window, which uses them
    ScriptedChooser chooser;
    NoChoice choice;
    Window w{"Ann\r\n"};
    BackupMenu *menu = new BackupMenu(*w.form, dialogs, chooser, choice);
    QSignalSpy tried{menu, &BackupMenu::dailyBackupTried};
    QString automatic = QDir(w.dir.path()).filePath(u"备份"_qs);

    Backups() { w.writeRecords(womanEntries(2)); }
    QStringList made() const { return QDir(automatic).entryList(QDir::Files); }
};

} // namespace

class GuiBackupTest : public QObject
{
    Q_OBJECT

private slots:
    void theBackupsEndTheMenuInAGroupOfTheirOwn()
    {
        Backups b;
        const QList<QAction *> actions = b.w.form->contextMenu().menu()->actions();
        QCOMPARE(actions.size() >= 3, true);
        QVERIFY(actions[actions.size() - 3]->isSeparator());
        QCOMPARE(actions[actions.size() - 2]->text(), u"备份日记…"_qs);
        QCOMPARE(actions[actions.size() - 2]->shortcut(), QKeySequence(u"Ctrl+Shift+K"_qs));
        QCOMPARE(actions.last()->text(), u"恢复备份…"_qs);
    }

    void ctrlShiftKBacksUpIntoTheFolderChosen()
    {
        Backups b;
        QTemporaryDir stick;
        b.dialogs.paths = {stick.path()};
        b.w.messages.answers = {false};
        b.w.start();
        b.w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b.w.form.get(), WindowWait));
        QTest::keyClick(b.w.form.get(), Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(b.dialogs.captions, QStringList{u"备份日记：选择存放备份的文件夹"_qs});
        QStringList drives;
        for (const Drive &drive : backupDrives())
            drives << drive.root;
        QCOMPARE(b.dialogs.offeredFolders, drives);
        QCOMPARE(QDir(stick.path()).entryList(QDir::Files), QStringList{u"Velmora备份-Ann-2010年03月01日.zip"_qs});
        QVERIFY(b.w.messages.shown.first().startsWith(u"日记已备份到："_qs));
    }

    // Once the window has been painted, and after the first change of a new day.
    void theDaysBackupWaitsForTheWindow()
    {
        Backups b;
        QVERIFY(b.w.form->load());
        QCoreApplication::processEvents();
        QCOMPARE(b.tried.count(), 0);
        b.w.form->show();
        QVERIFY(b.tried.wait(WindowWait));
        QCOMPARE(b.made(), QStringList{u"Velmora备份-Ann-2010年03月01日.zip"_qs});
        b.w.now = b.w.now.addDays(1);
        b.w.confirmUser(u"Bob"_qs);
        QVERIFY(b.tried.wait(WindowWait));
        QCOMPARE(b.made().size(), 2);
    }

    void theRestoreStartsFromTheChosenBackup()
    {
        Backups b;
        b.w.start();
        QVERIFY(b.tried.wait(WindowWait));
        b.chooser.path = QDir(b.automatic).filePath(b.made().first());
        b.menu->restore();
        QCOMPARE(b.chooser.listed, size_t(1));
        QCOMPARE(b.w.messages.shown, QStringList()); // the choice was cancelled: nothing said, nothing changed
    }

    void theListOfBackupsAndItsOtherFile()
    {
        ScriptedFileDialogs files;
        files.paths = {u"/elsewhere/备份.zip"_qs};
        QtBackupChooser chooser(nullptr, files);
        const std::vector<BackupListing> listed{
            {u"/a-恢复前.zip"_qs, QDateTime(QDate(2026, 12, 8), QTime(9, 30)), u"张三 3 条记录"_qs},
            {u"/b.zip"_qs, {}, u"不是 ZIP 压缩文件"_qs}};
        onNextModal<QDialog>([](QDialog *dialog) {
            auto *list = dialog->findChild<QTreeWidget *>(u"AutomaticBackups"_qs);
            QCOMPARE(list->topLevelItem(0)->text(0), u"2026年12月08日 09:30（恢复前）"_qs);
            QCOMPARE(list->topLevelItem(1)->text(0), u"无法读取"_qs);
            QVERIFY(!(list->topLevelItem(1)->flags() & Qt::ItemIsEnabled));
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QCOMPARE(chooser.choose(listed), u"/a-恢复前.zip"_qs);
        onNextModal<QDialog>([](QDialog *dialog) {
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog, WindowWait));
            QTest::keyClick(dialog, Qt::Key_O, Qt::ControlModifier);
        });
        QCOMPARE(chooser.choose(listed), u"/elsewhere/备份.zip"_qs);
        QCOMPARE(files.filters, QStringList{u"ZIP 压缩文件 (*.zip)"_qs});
    }

    void theChoiceOfWholeDiaryOrUsers()
    {
        QtRestoreChoice choice(nullptr);
        onNextModal<QDialog>([](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
        QCOMPARE(choice.choose(u"摘要"_qs, {u"张三"_qs}, true), (RestoreRequest{true, {}}));
        // A damaged backup offers users only.
        onNextModal<QDialog>([](QDialog *dialog) {
            QVERIFY(!dialog->findChild<QRadioButton *>(u"RestoreWholeDiary"_qs)->isEnabled());
            auto *users = dialog->findChild<QListWidget *>(u"RestoreUsers"_qs);
            users->item(1)->setCheckState(Qt::Checked);
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QCOMPARE(choice.choose(u"摘要"_qs, {u"张三"_qs, u"李四"_qs}, false), (RestoreRequest{false, {u"李四"_qs}}));
        onNextModal<QDialog>([](QDialog *dialog) { dialog->reject(); });
        QCOMPARE(choice.choose(u"摘要"_qs, {u"张三"_qs}, true), std::nullopt);
    }
};

QTEST_MAIN(GuiBackupTest)
#include "tst_gui_backup.moc"
