// The on-screen keypad through the real main window: title strips open it, its keys fill the
// shared buffer, and the main window hands the buffer to the boxes that asked for it when it
// becomes the active window again. Offscreen, each step that changes the active window waits
// for it; a switch to another program is applicationStateChanged, then a real activation.

#include "diary/messages.h"
#include "gui_support.h"
#include "ui/form2.h"

#include <QApplication>
#include <QSignalSpy>

#include <algorithm>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// Left of each title strip Label2(i), in twips, and the box it feeds (0: none).
constexpr int TitleLefts[13] = {360, 1320, 2280, 3240, 6120, 7080, 8040, 9000, 9960, 10920, 5160, 11880, 4200};
constexpr int BoxOfTitle[13] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 12};
const QString KeyCaptions = u"1234567890."_s; // of the keys Command2(0) .. Command2(10)

// `typed` into the title's box, then the keypad's `keys` ("c": clear), "返回" or the close button, and the box after it.
struct Trip
{
    int title = 1;
    QString typed{}, keys{}, expected{};
    bool closeButton = false;
    bool picked = false; // a name picked in the list but not confirmed: the boxes are disabled
};

} // namespace

class GuiKeypadTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<Window> w; // each test's own; from init(), started with the confirmed user "Ann"

    // Makes a window the active one, as a click on it would, and waits until it is.
    [[nodiscard]] static bool activate(QWidget *window)
    {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window) && QApplication::activeWindow() == window;
    }
    Form2 *keypad() const { return w->form->keypad(); }
    template <typename T = QPushButton>
    T *keypadChild(const QString &name) const
    {
        T *child = keypad() ? keypad()->findChild<T *>(name) : nullptr;
        if (!child)
            qFatal("no keypad control %s", qPrintable(name));
        return child;
    }
    QString keypadText() const { return keypadChild<QLineEdit>(u"Text1"_s)->text(); }
    std::pair<double, int> keypadPlace() const { return {w->form->state().KeypadLeft, w->form->state().KeypadTop}; }

    // Clicks the keys of the captions in `keys` one after another; "c" is the clear key.
    void pressKeys(const QString &keys) const
    {
        for (QChar c : keys)
            QTest::mouseClick(keypadChild(c == u'c' ? u"Command3"_s : u"Command2(%1)"_s.arg(KeyCaptions.indexOf(c))),
                              Qt::LeftButton);
    }
    // Clicks the title strip Label2(i), waits until a keypad that opens is active, and presses `keys` on it.
    [[nodiscard]] bool clickTitle(int i, const QString &keys = {}) const
    {
        QTest::mouseClick(w->label(u"Label2(%1)"_s.arg(i)), Qt::LeftButton, {}, QPoint(10, 10));
        if (keypad() && !QTest::qWaitForWindowActive(keypad()))
            return false;
        pressKeys(keys);
        return true;
    }
    // "返回" or the window's close button: the keypad goes and the main window is active again.
    [[nodiscard]] bool clickReturn(bool closeButton = false) const
    {
        if (closeButton)
            keypad()->close();
        else
            QTest::mouseClick(keypadChild(u"Command1"_s), Qt::LeftButton);
        return QTest::qWaitForWindowActive(w->form.get(), WindowWait) && QTest::qWaitFor([&] { return !keypad(); }, WindowWait);
    }

    // The boxes Text2 .. Text12 as shown, each marked "?" while it asks for the keypad's text.
    QStringList boxes() const
    {
        QStringList texts;
        for (int n = 2; n <= 12; ++n)
            texts << w->text(n)->text() + (w->form->state().KeypadRequest[size_t(n - 2)] ? u"?"_s : u""_s);
        return texts;
    }
    // What boxes() gives with `text` in the box Text(box) and the others empty.
    static QStringList at(int box, const QString &text)
    {
        QStringList texts(ProgramState::KeypadBoxCount);
        texts[box - 2] = text;
        return texts;
    }

private slots:
    void init()
    {
        w = std::make_unique<Window>("Ann\r\n");
        w->startWithAnn({}, false);
    }
    void cleanup() { w.reset(); }

    void keypadWindowKeysAndExit()
    {
        QSignalSpy exit(w->form.get(), &Form1::exitRequested);
        QVERIFY(clickTitle(3));
        QPointer<Form2> k = keypad();
        QVERIFY(k && k->isVisible() && k->isWindow() && !k->parentWidget()); // no owner
        QCOMPARE(k->objectName(), u"Form2"_s);
        QCOMPARE(k->windowTitle(), u"Velmora"_s);
        QCOMPARE(k->windowModality(), Qt::NonModal);
        QCOMPARE(k->size(), QSize(171, 108)); // 2565 x 1620 twips, fixed
        QCOMPARE(k->minimumSize(), k->maximumSize());
        QCOMPARE(k->grab().toImage().pixelColor(6, 6), QColor(0, 192, 0));
        for (int i = 0; i < 11; ++i) {
            QPushButton *key = keypadChild(u"Command2(%1)"_s.arg(i));
            QCOMPARE(key->text(), QString(KeyCaptions[i]));
            QVERIFY(key->font().family() == u"宋体"_s && key->font().pointSize() == 12 && key->font().bold());
        }
        QCOMPARE((QStringList{keypadChild(u"Command3"_s)->text(), keypadChild(u"Command1"_s)->text()}),
                 (QStringList{u"c"_s, u"返回"_s}));
        pressKeys(KeyCaptions);
        QCOMPARE(w->form->state().KeypadBuffer, KeyCaptions);
        QCOMPARE(keypadText(), KeyCaptions);
        w->click("Command3"); // the main window's exit closes the keypad too
        QCOMPARE(exit.count(), 1);
        QTRY_VERIFY(!k);
    }

    void eachTitle_data()
    {
        QTest::addColumn<int>("title");
        for (int i = 0; i < 13; ++i)
            QTest::addRow("Label2(%d)", i) << i;
    }
    // Each title strip: only the reminder while no user is confirmed; then, clicked while the
    // weight's keypad is active, it serves the weight box and opens its own keypad or none.
    void eachTitle()
    {
        QFETCH(int, title);
        const int box = BoxOfTitle[title];
        w = std::make_unique<Window>("Ann\r\n");
        QVERIFY(w->start() && clickTitle(title));
        QCOMPARE(w->messages.shown, QStringList{messages::ChooseOrAddUser});
        // No keypad at all.
        QVERIFY(std::ranges::none_of(QApplication::topLevelWidgets(), [](QWidget *t) { return qobject_cast<Form2 *>(t); }));
        QCOMPARE(boxes(), QStringList(11));
        QCOMPARE(keypadPlace(), std::pair(0.0, 0));
        w->confirmUser(u"Ann"_s);

        QVERIFY(clickTitle(3, u"58"_s));
        QPointer<Form2> old = keypad();
        QVERIFY(clickTitle(title));
        QTRY_VERIFY(!old);
        const double left = TitleLefts[title] + 500;
        QCOMPARE(keypadPlace(), std::pair(left, 5640));
        QStringList expected = at(4, u"58"_s);
        if (box)
            expected[box - 2] += u"?"_s;
        QCOMPARE(boxes(), expected);
        QCOMPARE(bool(keypad()), box != 0);
        if (box) {
            QCOMPARE(keypad()->pos(), QPoint(qRound(left / 15), 376)); // screen twips, wherever the main window is
            pressKeys(u"12"_s); // into a cleared buffer
            QEvent activation(QEvent::WindowActivate); // as the window system sends it
            QApplication::sendEvent(w->form.get(), &activation);
            expected[box - 2] = u"12"_s;
            QCOMPARE(boxes(), expected);
        }
        QCOMPARE(w->messages.shown, QStringList{messages::ChooseOrAddUser}); // that reminder only
    }

    void handBack_data()
    {
        QTest::addColumn<Trip>("trip");
        QTest::newRow("返回 at once empties") << Trip{.typed = u"50"_s};
        QTest::newRow("c then 返回 empties") << Trip{.title = 3, .typed = u"68"_s, .keys = u"7c"_s};
        QTest::newRow("close button") << Trip{.title = 2, .keys = u"172"_s, .expected = u"172"_s, .closeButton = true};
        QTest::newRow("a dot typing refuses") << Trip{.typed = u"2.5"_s, .keys = u"."_s, .expected = u"."_s};
        QTest::newRow("a picked name's disabled box") << Trip{.keys = u"60"_s, .expected = u"60"_s, .picked = true};
    }
    void handBack()
    {
        QFETCH(Trip, trip);
        if (trip.picked) {
            w = std::make_unique<Window>(crlfLines({"Alice", "Bob"}));
            QVERIFY(w->start());
            w->click("Command6");
            w->combo("Combo2")->setFocus();
            QTest::keyClick(w->combo("Combo2"), Qt::Key_Down);
            QCOMPARE(w->caption("Label5"), u"Alice"_s);
        }
        const int box = BoxOfTitle[trip.title];
        QTest::keyClicks(w->text(box), trip.typed);
        QVERIFY(clickTitle(trip.title, trip.keys));
        QCOMPARE(keypadText(), trip.expected);
        // Typed, the age box takes no dot; the keys do not serve it before the keypad goes.
        QCOMPARE(boxes(), at(box, QString(trip.typed).remove(u'.') + u"?"_s));
        QVERIFY(clickReturn(trip.closeButton));
        QCOMPARE(boxes(), at(box, trip.expected));
        QCOMPARE(w->form->state().KeypadBuffer, trip.expected);
        QCOMPARE(w->text(box)->isEnabled(), !trip.picked);
        QVERIFY(w->messages.shown.isEmpty());
    }

    void keyboard_data()
    {
        QTest::addColumn<QString>("typed");  // into the age box first
        QTest::addColumn<QString>("keys");   // on the keypad: "\b" Backspace, "\x1b" Esc, the rest characters
        QTest::addColumn<bool>("numberPad"); // the characters from the number pad
        QTest::addColumn<QString>("buffer"); // KeypadBuffer after the keys
        QTest::addColumn<QString>("box");    // the age box once the keypad has gone ("返回" unless Esc)
        QTest::newRow("the number pad") << u""_s << u"72.5"_s << true << u"72.5"_s << u"72.5"_s;
        QTest::newRow("other characters do nothing") << u""_s << u"4a,2x"_s << false << u"42"_s << u"42"_s;
        QTest::newRow("Backspace") << u""_s << u"123\b\b4"_s << false << u"14"_s << u"14"_s;
        QTest::newRow("Backspace past the start") << u""_s << u"5\b\b7"_s << false << u"7"_s << u"7"_s;
        QTest::newRow("Esc: the box keeps its text") << u"50"_s << u"68\x1b"_s << false << u"68"_s << u"50"_s;
    }
    // The keyboard on the keypad, key events sent where the keyboard sends
    // them: to the keypad's focused key.
    void keyboard()
    {
        QFETCH(QString, typed);
        QFETCH(QString, keys);
        QFETCH(bool, numberPad);
        QFETCH(QString, buffer);
        QFETCH(QString, box);
        QTest::keyClicks(w->text(2), typed);
        QVERIFY(clickTitle(1));
        for (QChar c : keys) {
            QWidget *focused = keypad()->focusWidget();
            QVERIFY(focused);
            if (c == u'\b')
                QTest::keyClick(focused, Qt::Key_Backspace);
            else if (c == u'\x1b')
                QTest::keyClick(focused, Qt::Key_Escape);
            else
                QTest::keyClick(focused, char(c.unicode()), numberPad ? Qt::KeypadModifier : Qt::NoModifier);
        }
        QCOMPARE(w->form->state().KeypadBuffer, buffer);
        if (keys.endsWith(u'\x1b')) {
            QVERIFY(QTest::qWaitForWindowActive(w->form.get(), WindowWait) && QTest::qWaitFor([&] { return !keypad(); }, WindowWait));
            QEvent activation(QEvent::WindowActivate); // a later activation hands nothing back either
            QApplication::sendEvent(w->form.get(), &activation);
        } else {
            QCOMPARE(keypadText(), buffer);
            QVERIFY(clickReturn());
        }
        QCOMPARE(boxes(), at(2, box));
    }

    // Back from another program the keypad stays open and its box still asks; a title clicked
    // then adds its box, and "返回" with the main window active hands the text to both.
    void backFromAnotherProgramTheBoxesStillAsk()
    {
        QVERIFY(clickTitle(1, u"7"_s));
        QPointer<Form2> old = keypad();
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(activate(w->form.get()) && old);
        QCOMPARE(boxes(), at(2, u"?"_s));
        QVERIFY(clickTitle(2)); // with the main window active: a fresh keypad, nothing handed back
        QTRY_VERIFY(!old);
        pressKeys(u"180"_s);
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(activate(w->form.get()) && keypad());
        QCOMPARE(boxes(), (QStringList{u"?"_s, u"?"_s} + QStringList(9)));
        QVERIFY(clickReturn());
        QCOMPARE(boxes(), (QStringList{u"180"_s, u"180"_s} + QStringList(9)));
    }
};

QTEST_MAIN(GuiKeypadTest)
#include "tst_gui_keypad.moc"
