// The main window's start-up, user management and statement panel, driven
// through clicks and keys.

#include "diary/messages.h"
#include "gui_support.h"
#include "ui/fonts.h"
#include "ui/form2.h"
#include "ui/window_placement.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFrame>
#include <QMessageBox>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>

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
            dark += qGray(image.pixel(x, y)) < 160; // ink, also of a thin face drawn with grey edges
    return dark;
}

} // namespace

class GuiUsersTest : public QObject
{
    Q_OBJECT

    // How many of the thirteen entry controls are enabled.
    static int enabledEntryControls(const Window &w)
    {
        int enabled = w.combo("Combo1")->isEnabled() + w.combo("Combo12")->isEnabled();
        for (int n = 2; n <= 12; ++n)
            enabled += w.text(n)->isEnabled();
        return enabled;
    }

private slots:
    void initTestCase() { installFonts(); }

    void firstStartInAnEmptyFolder()
    {
        Window w(QByteArray(), false);
        QVERIFY(w.start());
        QCOMPARE(readBytes(w.folder.userListPath()), QByteArray());
        QCOMPARE(w.combo("Combo2")->count(), 0);
        QCOMPARE(enabledEntryControls(w), 0);
        QVERIFY(!w.child("Frame1")->isVisible());
        QVERIFY(!w.child("Image1")->isVisible());
        QCOMPARE(w.combo("Combo1")->currentText(), QStringLiteral("男"));
        QCOMPARE(w.combo("Combo12")->currentText(), QStringLiteral("无"));
        QVERIFY(w.child<QRadioButton>("Option1")->isChecked());
        QCOMPARE(w.form->pos(), QPoint(67, 33));
        QVERIFY(w.messages.shown.isEmpty());
    }

    // A new name, typed and confirmed with clicks: the diary's outcome reaches every control.
    void confirmAndDeleteThroughTheWindow()
    {
        Window w("Bob\r\n");
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("张三"));
        QCOMPARE(readBytes(w.folder.userListPath()), crlfLines({"Bob", g(u"张三")}));
        QComboBox *users = w.combo("Combo2");
        QCOMPARE(users->count(), 2);
        QCOMPARE(users->itemText(1), QStringLiteral("张三"));
        QCOMPARE(users->currentText(), QStringLiteral("张三"));
        QCOMPARE(w.caption("Label5"), QStringLiteral("张三"));
        QCOMPARE(enabledEntryControls(w), 13);
        QVERIFY(!w.child("Frame1")->isVisible());
        QCOMPARE(w.messages.shown, QStringList{messages::UserCreated});
        QCOMPARE(w.combo("Combo1")->currentText(), QStringLiteral("男")); // a confirmation leaves the fields

        w.text(2)->setText(QStringLiteral("33"));
        w.click("Command4");
        QCOMPARE(w.messages.last(), messages::UserDeleted);
        QCOMPARE(users->count(), 1);
        QCOMPARE(users->currentText(), QString());
        QCOMPARE(w.text(2)->text(), QString());
        QCOMPARE(w.combo("Combo1")->currentText(), QString());
        QCOMPARE(w.caption("Label5"), QString());
        QCOMPARE(enabledEntryControls(w), 0);
    }

    void pickingWithTheKeyboardShowsTheName()
    {
        Window w(crlfLines({"Alice", "Bob"}));
        QVERIFY(w.start());
        w.click("Command6");
        QComboBox *users = w.combo("Combo2");
        users->setFocus();
        QTest::keyClick(users, Qt::Key_Down); // pick "Alice" with the keyboard
        QCOMPARE(w.caption("Label5"), QStringLiteral("Alice"));
        QCOMPARE(w.form->diary().currentUser(), QStringLiteral("Alice"));
        QCOMPARE(enabledEntryControls(w), 0); // a pick alone enables nothing
        w.click("Command11");
        QCOMPARE(enabledEntryControls(w), 13);
        QVERIFY(w.messages.shown.isEmpty());
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

        for (const char *name : {"Image1", "Label5"}) { // a click on it or on the user's name hides it
            w.click("Command7");
            w.click(name);
            QVERIFY(!statement->isVisible());
        }

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
        w.startWithAnn({}, false);
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
        QTest::newRow("a taskbar at the bottom") << QRect(0, 0, 1024, 620) << QPoint(67, 21);
        QTest::newRow("a panel on the left") << QRect(80, 0, 944, 700) << QPoint(80, 33);
        QTest::newRow("narrow") << QRect(0, 0, 900, 700) << QPoint(24, 33);
        QTest::newRow("1920 x 1080 at scale 2: too short") << QRect(0, 0, 960, 540) << QPoint(67, 0);
        QTest::newRow("too small both ways") << QRect(0, 0, 640, 480) << QPoint(0, 0);
        QTest::newRow("a screen left of the first") << QRect(-1280, 0, 1280, 1024) << QPoint(-876, 33);
    }
    // The window as designed (876 x 599 at 1000, 500 twips) inside a screen's available area.
    void placementInsideTheScreen()
    {
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(placeInside(QRect(67, 33, 876, 599), available), expected);
    }

    // Run at scales 1.5 and 2 too, where the window may be taller than the screen.
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
        w.startWithAnn({}, false);
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

};

QTEST_MAIN(GuiUsersTest)
#include "tst_gui_users.moc"
