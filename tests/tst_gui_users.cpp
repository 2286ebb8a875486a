// The main window's start-up, user management and statement panel, driven
// through clicks and keys.

#include "gui_support.h"
#include "messages.h"

#include <QFrame>
#include <QSignalSpy>

using namespace velmora;
using namespace velmora::test;

class GuiUsersTest : public QObject
{
    Q_OBJECT

    static bool entryControlsEnabled(const Window &w)
    {
        bool all = w.combo("Combo1")->isEnabled() && w.combo("Combo12")->isEnabled();
        for (int n = 2; n <= 12; ++n)
            all = all && w.text(n)->isEnabled();
        return all;
    }
    static bool entryControlsDisabled(const Window &w)
    {
        bool none = !w.combo("Combo1")->isEnabled() && !w.combo("Combo12")->isEnabled();
        for (int n = 2; n <= 12; ++n)
            none = none && !w.text(n)->isEnabled();
        return none;
    }

private slots:
    void firstStartInAnEmptyFolder()
    {
        Window w(QByteArray(), false);
        QVERIFY(w.start());
        QCOMPARE(readBytes(w.folder.userListPath()), QByteArray());
        QCOMPARE(w.combo("Combo2")->count(), 0);
        QVERIFY(entryControlsDisabled(w));
        QVERIFY(!w.child("Frame1")->isVisible());
        QVERIFY(!w.child("Image1")->isVisible());
        QCOMPARE(w.combo("Combo1")->currentText(), QStringLiteral("男"));
        QCOMPARE(w.combo("Combo12")->currentText(), QStringLiteral("无"));
        QVERIFY(w.child<QRadioButton>("Option1")->isChecked());
        QCOMPARE(w.form->pos(), QPoint(67, 33));
        QVERIFY(w.messages.shown.isEmpty());
    }

    void startWithThreeNames()
    {
        Window w(crlfLines({g(u"张三"), "Bob", g(u"李四")}));
        QVERIFY(w.start());
        QComboBox *users = w.combo("Combo2");
        QCOMPARE(users->count(), 3);
        QCOMPARE(users->itemText(0), QStringLiteral("张三"));
        QCOMPARE(users->itemText(2), QStringLiteral("李四"));
        QCOMPARE(users->currentText(), QString());
        QCOMPARE(w.caption("Label5"), QString());
    }

    void unusableFolderEndsWithAMessage()
    {
        Window w(QByteArray(), false);
        QVERIFY(QDir(w.dir.path()).mkdir(QStringLiteral("yonghu.dat"))); // a folder where the list belongs
        QVERIFY(!w.form->load());
        QCOMPARE(w.messages.shown.size(), 1);
    }

    void confirmingANewName()
    {
        Window w("Bob\r\n");
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("张三"));
        QCOMPARE(readBytes(w.folder.userListPath()), crlfLines({"Bob", g(u"张三")}));
        QCOMPARE(w.recordBytes(QStringLiteral("张三")), QByteArray());
        QVERIFY(w.folder.RecordFileExists(QStringLiteral("张三")));
        QComboBox *users = w.combo("Combo2");
        QCOMPARE(users->count(), 2);
        QCOMPARE(users->itemText(1), QStringLiteral("张三"));
        QCOMPARE(users->currentText(), QStringLiteral("张三"));
        QCOMPARE(w.caption("Label5"), QStringLiteral("张三"));
        QCOMPARE(w.form->state().CurrentUser, QStringLiteral("张三"));
        QVERIFY(entryControlsEnabled(w));
        QVERIFY(!w.child("Frame1")->isVisible());
        QCOMPARE(w.messages.shown, QStringList{messages::UserCreated});

        // Confirming it again finds it: nothing is written.
        w.confirmUser(QStringLiteral("张三"));
        QCOMPARE(readBytes(w.folder.userListPath()), crlfLines({"Bob", g(u"张三")}));
        QCOMPARE(w.messages.shown.size(), 1);
    }

    void typedNamesPassTheUserNameFilter()
    {
        Window w;
        QVERIFY(w.start());
        w.click("Command6");
        QLineEdit *edit = w.combo("Combo2")->lineEdit();
        QTest::keyClicks(edit, QStringLiteral("Tom9 1-/"));
        QCOMPARE(edit->text(), QStringLiteral("Tom9"));
    }

    void confirmingAListedNamePickedOrTyped()
    {
        Window w(crlfLines({"Alice", "Bob"}));
        QVERIFY(w.start());
        const QByteArray list = readBytes(w.folder.userListPath());
        w.click("Command6");
        QComboBox *users = w.combo("Combo2");
        users->setFocus();
        QTest::keyClick(users, Qt::Key_Down); // pick "Alice" with the keyboard
        QCOMPARE(w.caption("Label5"), QStringLiteral("Alice"));
        QCOMPARE(w.form->state().CurrentUser, QStringLiteral("Alice"));
        QVERIFY(entryControlsDisabled(w)); // a pick alone enables nothing
        w.click("Command11");
        QVERIFY(entryControlsEnabled(w));
        QVERIFY(w.messages.shown.isEmpty());

        // A listed name typed rather than picked becomes the current user too.
        w.confirmUser(QStringLiteral("Bob"));
        QCOMPARE(w.caption("Label5"), QStringLiteral("Bob"));
        QCOMPARE(w.form->state().CurrentUser, QStringLiteral("Bob"));
        QCOMPARE(readBytes(w.folder.userListPath()), list);
        QVERIFY(!w.folder.RecordFileExists(QStringLiteral("Bob")));
    }

    void confirmingWithEmptyText()
    {
        Window w;
        QVERIFY(w.start());
        w.confirmUser(QString());
        QCOMPARE(w.messages.shown, QStringList{messages::NoUserChosen});
        QVERIFY(!w.child("Frame1")->isVisible());
        QVERIFY(entryControlsDisabled(w));
    }

    void newNameKeepsAnExistingRecordFile()
    {
        Window w;
        const QByteArray records = womanEntries(2);
        QVERIFY(writeBytes(w.recordPath(QStringLiteral("王五")), records));
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("王五"));
        QCOMPARE(readBytes(w.folder.userListPath()), g(u"王五") + "\r\n");
        QCOMPARE(w.recordBytes(QStringLiteral("王五")), records);
    }

    void unsafeTypedNamesAreRefusedBeforeAnythingIsWritten()
    {
        Window w("Bob\r\n");
        QVERIFY(w.start());
        for (const QString &name : {QStringLiteral(".."), QStringLiteral("a/b"), QStringLiteral("..\\evil"),
                                    QStringLiteral("x:y"), QStringLiteral("a?"), QStringLiteral("😀"),
                                    QString(60, QChar(u'张'))}) {
            w.messages.shown.clear();
            w.confirmUser(name);
            QCOMPARE(w.messages.shown, QStringList{messages::UnsafeUserName});
            QCOMPARE(readBytes(w.folder.userListPath()), QByteArray("Bob\r\n"));
            QCOMPARE(QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList{QStringLiteral("yonghu.dat")});
            QCOMPARE(w.caption("Label5"), QString());
        }
    }

    void unsafeNamesFromAHandEditedListTouchNoFile()
    {
        QTemporaryDir outside;
        const QString victim = QDir(outside.path()).filePath(QStringLiteral("victim.dat"));
        QVERIFY(writeBytes(victim, "keep"));
        Window w;
        // An absolute path and a climb out of the folder, written into the list by hand.
        const QString absolute = QDir(outside.path()).filePath(QStringLiteral("victim"));
        const QString relative = QDir(w.dir.path()).relativeFilePath(absolute);
        QVERIFY(writeBytes(w.folder.userListPath(), crlfLines({absolute.toUtf8(), relative.toUtf8()})));
        QVERIFY(w.start());
        QComboBox *users = w.combo("Combo2");
        QCOMPARE(users->count(), 2);
        for (int index : {0, 1}) {
            users->setCurrentIndex(index);
            emit users->activated(index);
            w.messages.shown.clear();
            w.messages.answers = {true};
            w.click("Command4"); // delete
            w.click("Command1"); // display
            w.click("Command2"); // store
            w.click("Command8"); // modify
            w.click("Command11"); // confirm
            QCOMPARE(w.messages.shown, QStringList(5, messages::UnsafeUserName));
            QCOMPARE(readBytes(victim), QByteArray("keep"));
        }
        QCOMPARE(users->count(), 2);
    }

    void deleteAnsweredYesAndNo()
    {
        Window w(crlfLines({"Alice", "Bob"}));
        QVERIFY(writeBytes(w.recordPath(QStringLiteral("Alice")), womanEntries(3)));
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Alice"));
        w.click("Command1");
        QCOMPARE(w.form->recordCount(), 3);

        w.messages.answers = {false};
        w.click("Command4");
        QCOMPARE(w.messages.shown, QStringList{messages::ConfirmDelete});
        QCOMPARE(readBytes(w.folder.userListPath()), crlfLines({"Alice", "Bob"}));
        QCOMPARE(w.form->chartMarks().size(), size_t(3));

        w.messages.shown.clear();
        w.messages.answers = {true};
        w.text(2)->setText(QStringLiteral("33"));
        w.click("Command4");
        QCOMPARE(w.messages.shown, (QStringList{messages::ConfirmDelete, messages::UserDeleted}));
        QCOMPARE(readBytes(w.folder.userListPath()), QByteArray("Bob\r\n"));
        QVERIFY(!w.folder.RecordFileExists(QStringLiteral("Alice")));
        QCOMPARE(w.combo("Combo2")->count(), 1);
        QCOMPARE(w.combo("Combo2")->currentText(), QString());
        QVERIFY(w.form->chartMarks().empty());
        QCOMPARE(w.menuLabel(0)->text(), QString());
        QCOMPARE(w.text(2)->text(), QString());
        QCOMPARE(w.combo("Combo1")->currentText(), QString());
        QCOMPARE(w.caption("Label5"), QString());
        QVERIFY(entryControlsDisabled(w));
        QCOMPARE(w.form->state().CurrentUser, QStringLiteral("Alice"));
        QCOMPARE(w.form->selectedRecord(), -1);
    }

    void deleteWithEmptyText()
    {
        Window w("Bob\r\n");
        QVERIFY(w.start());
        w.click("Command4");
        QCOMPARE(w.messages.shown, QStringList{messages::ChooseUser});
        QCOMPARE(readBytes(w.folder.userListPath()), QByteArray("Bob\r\n"));
    }

    void deletingAnotherUserKeepsTheCurrentUsersFile()
    {
        Window w(crlfLines({"Alice", "Bob"}));
        const QByteArray bobs = womanEntries(2);
        QVERIFY(writeBytes(w.recordPath(QStringLiteral("Bob")), bobs));
        QVERIFY(writeBytes(w.recordPath(QStringLiteral("Alice")), womanEntries(1)));
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Bob"));
        w.combo("Combo2")->setEditText(QStringLiteral("Alice"));
        w.click("Command4");
        QCOMPARE(w.messages.last(), messages::UserDeleted);
        QCOMPARE(w.recordBytes(QStringLiteral("Bob")), bobs);
        QVERIFY(!w.folder.RecordFileExists(QStringLiteral("Alice")));
    }

    void failedListRewriteDeletesNothing()
    {
        Window w(crlfLines({"Alice", "Bob"}));
        QVERIFY(writeBytes(w.recordPath(QStringLiteral("Alice")), womanEntries(1)));
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Alice"));
        w.folder.failAfterBytes = 2;
        w.click("Command4");
        QVERIFY(w.messages.last().startsWith(QStringLiteral("用户删除失败")));
        QCOMPARE(readBytes(w.folder.userListPath()), crlfLines({"Alice", "Bob"}));
        QCOMPARE(w.recordBytes(QStringLiteral("Alice")), womanEntries(1));
    }

    // A confirm that cannot write the list leaves the previous user current.
    void failedConfirmKeepsThePreviousUser()
    {
        Window w(crlfLines({"Ann"}));
        QVERIFY(writeBytes(w.recordPath(QStringLiteral("Ann")), QByteArray()));
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Ann"));
        w.folder.failAfterBytes = 0;
        w.confirmUser(QStringLiteral("Bob"));
        QVERIFY(w.messages.last().startsWith(QStringLiteral("数据保存失败")));
        QCOMPARE(w.caption("Label5"), QStringLiteral("Ann"));
        QCOMPARE(w.form->state().CurrentUser, QStringLiteral("Ann"));
        QCOMPARE(readBytes(w.folder.userListPath()), crlfLines({"Ann"}));
        QVERIFY(!w.folder.RecordFileExists(QStringLiteral("Bob")));
    }

    void statementToggles()
    {
        Window w;
        QVERIFY(w.start());
        QWidget *statement = w.child("Image1");
        w.click("Command7");
        QVERIFY(statement->isVisible());
        w.click("Command7");
        QVERIFY(!statement->isVisible());

        w.click("Command7");
        w.click("Label3"); // no user: a reminder, and the statement goes
        QCOMPARE(w.messages.shown, QStringList{messages::ChooseOrAddUser});
        QVERIFY(!statement->isVisible());

        w.click("Command7");
        w.click("Image1");
        QVERIFY(!statement->isVisible());
        w.click("Command7");
        w.click("Label5");
        QVERIFY(!statement->isVisible());
        w.click("Label5"); // already hidden: nothing changes
        QVERIFY(!statement->isVisible());

        w.confirmUser(QStringLiteral("Tom"));
        w.messages.shown.clear();
        w.click("Command7");
        w.click("Label3");
        QVERIFY(w.messages.shown.isEmpty());
        QVERIFY(!statement->isVisible());
    }

    void exitButtonAsksToEnd()
    {
        Window w;
        QVERIFY(w.start());
        QSignalSpy exits(w.form.get(), &Form1::exitRequested);
        w.click("Command7");
        w.click("Command3");
        QCOMPARE(exits.count(), 1);
    }
};

QTEST_MAIN(GuiUsersTest)
#include "tst_gui_users.moc"
