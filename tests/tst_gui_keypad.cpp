// The on-screen keypad through the real main window: title strips open it,
// its keys fill the shared buffer, and the main window hands the buffer to the
// boxes that asked for it when it becomes the active window again.
//
// Window activation under the offscreen platform: show() and activateWindow()
// do activate a window, but only once the event loop runs, so every step that
// changes the active window waits for it (QTest::qWaitForWindowActive) before
// the test goes on. Closing the active keypad leaves no window active until
// the main window asks for the activation itself, as it does. The application
// never becomes inactive offscreen, so a switch to another program is played
// by the signal the main window listens to (applicationStateChanged) followed
// by a real activation of the main window.

#include "form2.h"
#include "gui_support.h"
#include "messages.h"

#include <QApplication>
#include <QPalette>
#include <QSignalSpy>

#include <algorithm>

using namespace velmora;
using namespace velmora::test;

namespace {

// Left of each title strip Label2(i), in twips, and the box it feeds (0: none).
constexpr int TitleLefts[13] = {360, 1320, 2280, 3240, 6120, 7080, 8040, 9000, 9960, 10920, 5160, 11880, 4200};
constexpr int BoxOfTitle[13] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 12};

const QStringList KeyCaptions = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "."};

} // namespace

class GuiKeypadTest : public QObject
{
    Q_OBJECT

    // A started, active window with the confirmed user "Ann".
    static std::unique_ptr<Window> withUser()
    {
        auto w = std::make_unique<Window>("Ann\r\n");
        w->start();
        w->confirmUser(QStringLiteral("Ann"));
        w->messages.shown.clear();
        return w;
    }

    // Makes a window the active one, as a click on it would, and waits until it is.
    [[nodiscard]] static bool activate(QWidget *window)
    {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window) && QApplication::activeWindow() == window;
    }

    static QLabel *title(const Window &w, int i) { return w.label(QStringLiteral("Label2(%1)").arg(i)); }

    // Clicks the title strip Label2(i); a keypad that opens becomes the active window.
    [[nodiscard]] static bool clickTitle(const Window &w, int i)
    {
        QTest::mouseClick(title(w, i), Qt::LeftButton, {}, QPoint(10, 10));
        if (Form2 *keypad = w.form->keypad())
            return QTest::qWaitForWindowActive(keypad);
        return true;
    }

    static QPushButton *keypadButton(const Window &w, const char *name)
    {
        Form2 *keypad = w.form->keypad();
        if (!keypad)
            qFatal("no keypad is open");
        auto *button = keypad->findChild<QPushButton *>(QString::fromLatin1(name));
        if (!button)
            qFatal("no keypad control %s", name);
        return button;
    }

    // Clicks the keypad keys of the captions in `keys`, one after another.
    static void pressKeys(const Window &w, const QString &keys)
    {
        for (QChar c : keys) {
            const qsizetype index = KeyCaptions.indexOf(QString(c));
            if (index < 0)
                qFatal("no key %s", qPrintable(QString(c)));
            QPushButton *key = w.form->keypad()->key(int(index));
            QTest::mouseClick(key, Qt::LeftButton, {}, key->rect().center());
        }
    }

    static QString keypadText(const Window &w)
    {
        return w.form->keypad()->findChild<QLineEdit *>(QStringLiteral("Text1"))->text();
    }

    static void clickClear(const Window &w)
    {
        QPushButton *c = keypadButton(w, "Command3");
        QTest::mouseClick(c, Qt::LeftButton, {}, c->rect().center());
    }

    // "返回": the keypad goes and the main window becomes active again.
    [[nodiscard]] static bool clickReturn(const Window &w)
    {
        QPushButton *back = keypadButton(w, "Command1");
        QTest::mouseClick(back, Qt::LeftButton, {}, back->rect().center());
        return QTest::qWaitForWindowActive(w.form.get()) && QTest::qWaitFor([&] { return !w.form->keypad(); });
    }

    // The request flags of Text2 .. Text12.
    static QList<int> requests(const Window &w)
    {
        const auto &flags = w.form->state().KeypadRequest;
        return QList<int>(flags.begin(), flags.end());
    }
    static QList<int> noRequests() { return QList<int>(ProgramState::KeypadBoxCount, 0); }
    static QList<int> requestFor(std::initializer_list<int> boxes)
    {
        QList<int> flags = noRequests();
        for (int box : boxes)
            flags[box - 2] = 1;
        return flags;
    }

    static qsizetype openKeypads()
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::count_if(windows.begin(), windows.end(),
                             [](QWidget *t) { return t->objectName() == QStringLiteral("Form2"); });
    }

    static QStringList boxTexts(const Window &w)
    {
        QStringList texts;
        for (int n = 2; n <= 12; ++n)
            texts << w.text(n)->text();
        return texts;
    }
    static QStringList boxTextsWith(int box, const QString &text)
    {
        QStringList texts(11, QString());
        texts[box - 2] = text;
        return texts;
    }

    // Types into a box as a person would (the box filters what it takes).
    static void typeInto(const Window &w, int box, const QString &text)
    {
        w.text(box)->clear();
        QTest::keyClicks(w.text(box), text);
    }

private slots:
    void keypadWindow()
    {
        auto w = withUser();
        QVERIFY(clickTitle(*w, 1));
        Form2 *keypad = w->form->keypad();
        QVERIFY(keypad);
        QCOMPARE(keypad->objectName(), QStringLiteral("Form2"));
        QCOMPARE(keypad->windowTitle(), QStringLiteral("Velmora"));
        QVERIFY(keypad->isWindow());
        QVERIFY(!keypad->parentWidget()); // no owner
        QCOMPARE(keypad->windowModality(), Qt::NonModal);
        QVERIFY(keypad->isVisible());
        QCOMPARE(keypad->size(), QSize(171, 108)); // 2565 x 1620 twips
        QCOMPARE(keypad->minimumSize(), keypad->maximumSize());
        QCOMPARE(keypad->palette().color(QPalette::Window), QColor(0, 192, 0));
        QCOMPARE(keypad->grab().toImage().pixelColor(6, 6), QColor(0, 192, 0));

        for (int k = 0; k < 11; ++k) {
            auto *key = keypad->findChild<QPushButton *>(QStringLiteral("Command2(%1)").arg(k));
            QVERIFY(key);
            QCOMPARE(key, keypad->key(k));
            QCOMPARE(key->text(), KeyCaptions[k]);
            QCOMPARE(key->font().family(), QStringLiteral("宋体"));
            QCOMPARE(key->font().pointSize(), 12);
            QVERIFY(key->font().bold());
        }
        QCOMPARE(keypadButton(*w, "Command3")->text(), QStringLiteral("c"));
        QCOMPARE(keypadButton(*w, "Command1")->text(), QStringLiteral("返回"));
        auto *text1 = keypad->findChild<QLineEdit *>(QStringLiteral("Text1"));
        QVERIFY(text1);
        QCOMPARE(text1->text(), QString());
        QCOMPARE(keypad->findChildren<QPushButton *>().size(), 13);
    }

    void keysAppendTheirCaptions()
    {
        auto w = withUser();
        QVERIFY(clickTitle(*w, 3));
        QCOMPARE(w->form->state().KeypadBuffer, QString());
        pressKeys(*w, QStringLiteral("1234567890."));
        QCOMPARE(w->form->state().KeypadBuffer, QStringLiteral("1234567890."));
        QCOMPARE(keypadText(*w), QStringLiteral("1234567890."));
        clickClear(*w);
        QCOMPARE(w->form->state().KeypadBuffer, QString());
        QCOMPARE(keypadText(*w), QString());
        pressKeys(*w, QStringLiteral("07"));
        QCOMPARE(keypadText(*w), QStringLiteral("07"));
        // The keys never touch the box; only the return to the main window does.
        QCOMPARE(w->text(4)->text(), QString());
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(4)->text(), QStringLiteral("07"));
    }

    void keypadPosition_data()
    {
        QTest::addColumn<int>("titleIndex");
        for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12})
            QTest::addRow("Label2(%d)", i) << i;
    }
    void keypadPosition()
    {
        QFETCH(int, titleIndex);
        auto w = withUser();
        QVERIFY(clickTitle(*w, titleIndex));
        const double left = TitleLefts[titleIndex] + 500;
        QCOMPARE(w->form->state().KeypadLeft, left);
        QCOMPARE(w->form->state().KeypadTop, 5640);
        // Screen twips, whatever the main window's own position.
        QCOMPARE(w->form->keypad()->pos(), QPoint(qRound(left / 15), 376));
        QCOMPARE(requests(*w), requestFor({BoxOfTitle[titleIndex]}));
    }

    void eachTitleFeedsItsBox_data()
    {
        keypadPosition_data();
    }
    void eachTitleFeedsItsBox()
    {
        QFETCH(int, titleIndex);
        auto w = withUser();
        QVERIFY(clickTitle(*w, titleIndex));
        pressKeys(*w, QStringLiteral("12"));
        QVERIFY(clickReturn(*w));
        QCOMPARE(boxTexts(*w), boxTextsWith(BoxOfTitle[titleIndex], QStringLiteral("12")));
        QCOMPARE(requests(*w), noRequests());
    }

    void ageThroughTheKeypad()
    {
        auto w = withUser();
        QVERIFY(clickTitle(*w, 1));
        QCOMPARE(requests(*w), requestFor({2}));
        pressKeys(*w, QStringLiteral("35"));
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(2)->text(), QStringLiteral("35"));
        QCOMPARE(boxTexts(*w), boxTextsWith(2, QStringLiteral("35")));
        QCOMPARE(requests(*w), noRequests());
        QCOMPARE(w->form->state().KeypadBuffer, QStringLiteral("35"));
        QVERIFY(w->messages.shown.isEmpty());
    }

    void closeButtonHandsBack()
    {
        auto w = withUser();
        QVERIFY(clickTitle(*w, 2));
        pressKeys(*w, QStringLiteral("172"));
        w->form->keypad()->close(); // the window's close button
        QVERIFY(QTest::qWaitForWindowActive(w->form.get()));
        QTRY_VERIFY(!w->form->keypad());
        QCOMPARE(w->text(3)->text(), QStringLiteral("172"));
        QCOMPARE(requests(*w), noRequests());
    }

    void returnAtOnceEmptiesTheBox()
    {
        auto w = withUser();
        typeInto(*w, 2, QStringLiteral("50"));
        QCOMPARE(w->text(2)->text(), QStringLiteral("50"));
        QVERIFY(clickTitle(*w, 1));
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(2)->text(), QString());
        QCOMPARE(requests(*w), noRequests());
    }

    void clearThenReturnEmptiesTheBox()
    {
        auto w = withUser();
        typeInto(*w, 4, QStringLiteral("68"));
        QVERIFY(clickTitle(*w, 3));
        pressKeys(*w, QStringLiteral("7"));
        clickClear(*w);
        QCOMPARE(keypadText(*w), QString());
        QCOMPARE(w->form->state().KeypadBuffer, QString());
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(4)->text(), QString());
    }

    void handBackToTwoFlaggedBoxes()
    {
        auto w = withUser();
        // Height asked too, and was never served.
        w->form->state().KeypadRequest[size_t(3 - 2)] = 1;
        QVERIFY(clickTitle(*w, 1));
        QCOMPARE(requests(*w), requestFor({2, 3}));
        pressKeys(*w, QStringLiteral("64"));
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(2)->text(), QStringLiteral("64"));
        QCOMPARE(w->text(3)->text(), QStringLiteral("64"));
        QCOMPARE(requests(*w), noRequests());
    }

    void returnFromAnotherProgramHandsNothingBack()
    {
        auto w = withUser();
        QVERIFY(clickTitle(*w, 1));
        pressKeys(*w, QStringLiteral("6"));
        // Away to another program while the keypad was active, then back to the main window.
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(activate(w->form.get()));
        QCOMPARE(w->text(2)->text(), QString());
        QCOMPARE(requests(*w), requestFor({2}));
        QVERIFY(w->form->keypad());

        // The age box still asks: a keypad for the height now serves both.
        QVERIFY(clickTitle(*w, 2));
        QCOMPARE(requests(*w), requestFor({2, 3}));
        QCOMPARE(keypadText(*w), QString());
        pressKeys(*w, QStringLiteral("170"));
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(2)->text(), QStringLiteral("170"));
        QCOMPARE(w->text(3)->text(), QStringLiteral("170"));
        QCOMPARE(requests(*w), noRequests());
    }

    void returnWhileTheMainWindowIsActive()
    {
        // Back from another program with the request still open: "返回" hands back at once.
        auto w = withUser();
        QVERIFY(clickTitle(*w, 7));
        pressKeys(*w, QStringLiteral("5.6"));
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(activate(w->form.get()));
        QCOMPARE(w->text(8)->text(), QString());
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(8)->text(), QStringLiteral("5.6"));
        QCOMPARE(requests(*w), noRequests());
        QCOMPARE(QApplication::activeWindow(), w->form.get());
    }

    void sexAndHeredityOpenNothing_data()
    {
        QTest::addColumn<int>("titleIndex");
        QTest::newRow("sex") << 0;
        QTest::newRow("heredity") << 11;
    }
    void sexAndHeredityOpenNothing()
    {
        QFETCH(int, titleIndex);
        auto w = withUser();
        QVERIFY(clickTitle(*w, titleIndex));
        QVERIFY(!w->form->keypad());
        QCOMPARE(requests(*w), noRequests());
        QCOMPARE(w->form->state().KeypadTop, 5640);
        QCOMPARE(w->form->state().KeypadLeft, double(TitleLefts[titleIndex] + 500));
        QCOMPARE(boxTexts(*w), QStringList(11, QString()));
        QVERIFY(w->messages.shown.isEmpty());

        // With a keypad open: the old box is served, the keypad goes, none opens.
        QVERIFY(clickTitle(*w, 3));
        pressKeys(*w, QStringLiteral("58"));
        QPointer<Form2> old = w->form->keypad();
        QVERIFY(clickTitle(*w, titleIndex));
        QVERIFY(!w->form->keypad());
        QTRY_VERIFY(!old);
        QCOMPARE(boxTexts(*w), boxTextsWith(4, QStringLiteral("58")));
        QCOMPARE(requests(*w), noRequests());
        QCOMPARE(w->combo("Combo1")->currentText(), QStringLiteral("男"));
        QCOMPARE(w->combo("Combo12")->currentText(), QStringLiteral("无"));
    }

    void reminderWithoutUser_data()
    {
        QTest::addColumn<int>("titleIndex");
        for (int i = 0; i < 13; ++i)
            QTest::addRow("Label2(%d)", i) << i;
    }
    void reminderWithoutUser()
    {
        QFETCH(int, titleIndex);
        Window w("Ann\r\n");
        QVERIFY(w.start());
        QVERIFY(clickTitle(w, titleIndex));
        QCOMPARE(w.messages.shown, QStringList{messages::ChooseOrAddUser});
        QVERIFY(!w.form->keypad());
        QCOMPARE(requests(w), noRequests());
        QCOMPARE(w.form->state().KeypadLeft, 0.0);
        QCOMPARE(w.form->state().KeypadTop, 0);
        QCOMPARE(openKeypads(), 0);
    }

    void aDotReachesTheAgeBox()
    {
        auto w = withUser();
        // Typed, the age box takes no dot.
        typeInto(*w, 2, QStringLiteral("2.5"));
        QCOMPARE(w->text(2)->text(), QStringLiteral("25"));
        QVERIFY(clickTitle(*w, 1));
        pressKeys(*w, QStringLiteral("."));
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(2)->text(), QStringLiteral("."));
        QVERIFY(clickTitle(*w, 1));
        pressKeys(*w, QStringLiteral("2.5"));
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(2)->text(), QStringLiteral("2.5"));
    }

    void activationWithoutRequestChangesNothing()
    {
        auto w = withUser();
        typeInto(*w, 2, QStringLiteral("45"));
        typeInto(*w, 3, QStringLiteral("172"));
        const QStringList before = boxTexts(*w);

        // Another window of the program, and back.
        QWidget other;
        other.resize(40, 40);
        other.show();
        QVERIFY(activate(&other));
        QVERIFY(activate(w->form.get()));
        QCOMPARE(boxTexts(*w), before);

        // The activation event itself, with nothing asked.
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(w->form.get(), &activation);
        QCOMPARE(boxTexts(*w), before);

        // A keypad that served its box once serves it no more, though it stays open.
        QVERIFY(clickTitle(*w, 1));
        pressKeys(*w, QStringLiteral("4"));
        QVERIFY(activate(w->form.get()));
        QCOMPARE(w->text(2)->text(), QStringLiteral("4"));
        QCOMPARE(requests(*w), noRequests());
        QVERIFY(w->form->keypad());
        QVERIFY(activate(w->form->keypad()));
        pressKeys(*w, QStringLiteral("9"));
        QCOMPARE(keypadText(*w), QStringLiteral("49"));
        QVERIFY(activate(w->form.get()));
        QCOMPARE(w->text(2)->text(), QStringLiteral("4"));
        QVERIFY(clickReturn(*w));
        QCOMPARE(w->text(2)->text(), QStringLiteral("4"));
        QCOMPARE(w->text(3)->text(), QStringLiteral("172"));
    }

    void anActivationEventServesTheBoxes()
    {
        // The keypad's and the main window's activation events, sent as the window system would.
        auto w = withUser();
        QVERIFY(clickTitle(*w, 12));
        pressKeys(*w, QStringLiteral("81"));
        QEvent keypadActive(QEvent::WindowActivate);
        QApplication::sendEvent(w->form->keypad(), &keypadActive);
        QEvent mainActive(QEvent::WindowActivate);
        QApplication::sendEvent(w->form.get(), &mainActive);
        QCOMPARE(w->text(12)->text(), QStringLiteral("81"));
        QCOMPARE(requests(*w), noRequests());
    }

    void titleClickWhileKeypadOpen_data()
    {
        QTest::addColumn<bool>("mainWindowActivatedFirst");
        QTest::newRow("click reaches the strip first") << false;
        QTest::newRow("main window activated first") << true;
    }
    void titleClickWhileKeypadOpen()
    {
        QFETCH(bool, mainWindowActivatedFirst);
        auto w = withUser();
        QVERIFY(clickTitle(*w, 1));
        pressKeys(*w, QStringLiteral("7"));
        QPointer<Form2> old = w->form->keypad();
        if (mainWindowActivatedFirst) {
            QVERIFY(activate(w->form.get()));
            QCOMPARE(w->text(2)->text(), QStringLiteral("7"));
        }
        QVERIFY(clickTitle(*w, 2));
        QCOMPARE(w->text(2)->text(), QStringLiteral("7"));
        QCOMPARE(requests(*w), requestFor({3}));
        Form2 *fresh = w->form->keypad();
        QVERIFY(fresh);
        QVERIFY(fresh != old);
        QTRY_VERIFY(!old);
        QCOMPARE(w->form->state().KeypadBuffer, QString());
        QCOMPARE(keypadText(*w), QString());
        QCOMPARE(fresh->pos(), QPoint(qRound((2280 + 500) / 15.0), 376));

        pressKeys(*w, QStringLiteral("180"));
        QVERIFY(clickReturn(*w));
        QCOMPARE(boxTexts(*w), (QStringList{"7", "180", "", "", "", "", "", "", "", "", ""}));
        QCOMPARE(requests(*w), noRequests());
        QCOMPARE(openKeypads(), 0);
    }

    void pickedButNotConfirmedWritesIntoTheDisabledBox()
    {
        Window w(crlfLines({"Alice", "Bob"}));
        QVERIFY(w.start());
        w.click("Command6");
        QComboBox *users = w.combo("Combo2");
        users->setFocus();
        QTest::keyClick(users, Qt::Key_Down); // "Alice" picked, not confirmed
        QCOMPARE(w.caption("Label5"), QStringLiteral("Alice"));
        QVERIFY(!w.text(2)->isEnabled());

        QVERIFY(clickTitle(w, 1));
        QVERIFY(w.form->keypad());
        QVERIFY(w.messages.shown.isEmpty());
        pressKeys(w, QStringLiteral("60"));
        QVERIFY(clickReturn(w));
        QVERIFY(!w.text(2)->isEnabled());
        QCOMPARE(w.text(2)->text(), QStringLiteral("60"));
        QCOMPARE(requests(w), noRequests());
    }

    void startUpHandsBackOnce()
    {
        Window w("Ann\r\n");
        w.form->state().KeypadRequest[size_t(5 - 2)] = 1;
        w.form->state().KeypadBuffer = QStringLiteral("1.5");
        QVERIFY(w.start());
        QCOMPARE(w.text(5)->text(), QStringLiteral("1.5"));
        QCOMPARE(requests(w), noRequests());
    }

    void exitClosesTheKeypad()
    {
        auto w = withUser();
        QSignalSpy exit(w->form.get(), &Form1::exitRequested);
        QVERIFY(clickTitle(*w, 1));
        QPointer<Form2> keypad = w->form->keypad();
        w->click("Command3");
        QCOMPARE(exit.count(), 1);
        QTRY_VERIFY(!keypad);
    }
};

QTEST_MAIN(GuiKeypadTest)
#include "tst_gui_keypad.moc"
