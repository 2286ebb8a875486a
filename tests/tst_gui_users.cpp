// The main window's start-up, user management and statement panel, driven
// through clicks and keys.

#include "fonts.h"
#include "form2.h"
#include "gui_support.h"
#include "messages.h"
#include "window_placement.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFrame>
#include <QMessageBox>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>

using namespace velmora;
using namespace velmora::test;

namespace {

// The smallest rectangle holding every pixel of the image that is not white.
QRect inkBounds(const QImage &image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != Qt::white)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

int darkPixels(const QImage &image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 80;
    return dark;
}

} // namespace

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
    void initTestCase() { installFonts(); }

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
        QCOMPARE(w.form->screen()->availableGeometry(), QRect(0, 0, 1024, 700)); // the screen ctest sets up
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

    // The three combos, their text boxes and their open lists in 宋体 12 pt
    // (the installed Song face it stands for), not in the window font.
    void combosDrawInSongTi_data()
    {
        QTest::addColumn<QByteArray>("name");
        for (const char *name : {"Combo1", "Combo12", "Combo2"})
            QTest::newRow(name) << QByteArray(name);
    }
    void combosDrawInSongTi()
    {
        QFETCH(QByteArray, name);
        Window w("Ann\r\n");
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Ann"));
        w.click("Command6");
        QComboBox *combo = w.combo(name.constData());
        const QStringList songTi = QFont::substitutes(QStringLiteral("宋体"));
        const auto inSongTi12 = [&](QWidget *widget) {
            const QFontInfo drawn(widget->font());
            return songTi.contains(drawn.family(), Qt::CaseInsensitive) && drawn.pointSize() == 12;
        };
        QVERIFY(inSongTi12(combo->lineEdit()));
        combo->showPopup();
        QVERIFY(combo->view()->isVisible());
        QVERIFY(inSongTi12(combo->view()));
        combo->hidePopup();
    }

    // The user panel's hint, drawn as the label draws it but unclipped, lies
    // wholly in the label and above the button.
    void hintIsReadWhole()
    {
        Window w;
        QVERIFY(w.start());
        w.click("Command6");
        QLabel *hint = w.label(QStringLiteral("Label6"));
        const int room = w.child("Command11")->y() - hint->y();
        QVERIFY(hint->font().pointSizeF() >= 7.5);
        const QSize size = hint->size();
        QImage canvas(size * 3, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        painter.setFont(hint->font());
        painter.drawText(QRect(QPoint(size.width(), size.height()), size), int(hint->alignment()) | Qt::TextWordWrap,
                         hint->text());
        painter.end();
        const QRect ink = inkBounds(canvas).translated(-size.width(), -size.height());
        QVERIFY2(QRect(0, 0, size.width(), room).contains(ink),
                 qPrintable(QStringLiteral("ink %1,%2 %3x%4, room %5x%6")
                                .arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())
                                .arg(size.width()).arg(room)));
    }

    void placementInsideTheScreen_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("fits") << QRect(0, 0, 1024, 700) << QPoint(67, 33);
        QTest::newRow("a panel at the top") << QRect(0, 27, 1024, 673) << QPoint(67, 33);
        QTest::newRow("a taskbar at the bottom") << QRect(0, 0, 1024, 620) << QPoint(67, 21);
        QTest::newRow("a panel on the left") << QRect(80, 0, 944, 700) << QPoint(80, 33);
        QTest::newRow("narrow") << QRect(0, 0, 900, 700) << QPoint(24, 33);
        QTest::newRow("1920 x 1080 at scale 2: too short") << QRect(0, 0, 960, 540) << QPoint(67, 0);
        QTest::newRow("too small both ways") << QRect(0, 0, 640, 480) << QPoint(0, 0);
        QTest::newRow("a screen right of the first") << QRect(1024, 0, 1280, 1024) << QPoint(1024, 33);
        QTest::newRow("a screen left of the first") << QRect(-1280, 0, 1280, 1024) << QPoint(-876, 33);
    }
    // The window as designed (876 x 599 at 1000, 500 twips) inside a screen's available area.
    void placementInsideTheScreen()
    {
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(placeInside(QRect(67, 33, 876, 599), available), expected);
    }

    void windowStartsInsideTheScreen()
    {
        Window w;
        QVERIFY(w.start());
        const QRect screen = w.form->screen()->availableGeometry();
        const QRect window = w.form->frameGeometry();
        QVERIFY(screen.contains(window.topLeft()));
        if (window.width() <= screen.width() && window.height() <= screen.height())
            QVERIFY(screen.contains(window));
    }

    // A dark system palette: both windows keep their dark-on-light text and
    // boxes; a message box keeps the system's colours.
    void darkSystemPaletteLeavesTheWindowsLight()
    {
        const QPalette system = QApplication::palette();
        const QPalette dark(QColor(45, 45, 45)); // white text on black boxes
        QApplication::setPalette(dark);
        const auto restore = qScopeGuard([&] { QApplication::setPalette(system); });
        Window w("Ann\r\n");
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Ann"));
        const auto colour = [](QWidget *widget, QPalette::ColorRole role) { return widget->palette().color(role); };
        for (QWidget *label : {w.label(QStringLiteral("Label1")), w.label(QStringLiteral("Label5")), w.menuLabel(0)})
            QCOMPARE(colour(label, QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(colour(w.label(QStringLiteral("Label2(1)")), QPalette::WindowText), QColor(0, 128, 0));
        for (QWidget *box : std::initializer_list<QWidget *>{w.text(2), w.combo("Combo1")->view()}) {
            QCOMPARE(colour(box, QPalette::Text), QColor(Qt::black));
            QCOMPARE(colour(box, QPalette::Base), QColor(Qt::white));
        }
        QTest::keyClicks(w.text(2), "88");
        QVERIFY(darkPixels(w.text(2)->grab().toImage()) > 10);
        QVERIFY(darkPixels(w.label(QStringLiteral("Label5"))->grab().toImage()) > 10);

        QTest::mouseClick(w.label(QStringLiteral("Label2(1)")), Qt::LeftButton, {}, QPoint(10, 10));
        QWidget *keypadText = w.form->keypad()->findChild<QWidget *>(QStringLiteral("Text1"));
        QCOMPARE(colour(keypadText, QPalette::Text), QColor(Qt::black));
        QCOMPARE(colour(keypadText, QPalette::Base), QColor(Qt::white));

        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Velmora"), messages::ChooseOrAddUser, QMessageBox::Ok,
                        w.form.get());
        QCOMPARE(colour(&box, QPalette::Window), dark.color(QPalette::Window));
        QCOMPARE(colour(&box, QPalette::WindowText), dark.color(QPalette::WindowText));
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
