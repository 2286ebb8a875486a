// Accessible names, the keyboard doing what the mouse does, and the message
// boxes in Chinese answered from the keyboard.

#include "gui_support.h"

#include "form2.h"
#include "seams.h"
#include "translations.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

using namespace velmora;
using namespace velmora::test;

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installQtTranslation()); }

    // The controls of the window design, but the empty areas Image2, 3, 5, 6 and the panel's outline Shape1.
    void everyControlHasANameAndDescription()
    {
        Window w;
        QVERIFY(w.start());
        const QRegularExpression designNames(QStringLiteral("^(?!Image[2356]$|Shape1$)[A-Z][a-z]+\\d+(\\(\\d+\\))?$"));
        const auto controls = w.form->findChildren<QWidget *>(designNames);
        QCOMPARE(controls.size(), 68);
        for (const QWidget *widget : controls) {
            QVERIFY2(!widget->accessibleName().trimmed().isEmpty(), qPrintable(widget->objectName()));
            QVERIFY2(!widget->accessibleDescription().isEmpty(), qPrintable(widget->objectName()));
        }
        QCOMPARE(w.text(12)->accessibleName(), QStringLiteral("腰围（厘米）"));
        QCOMPARE(w.text(8)->accessibleName(), QStringLiteral("血糖（mmol/L）"));
    }

    void theKeyboardReachesTheColumnTheMarkerAndTheKeypad()
    {
        Window w("Ann\r\n");
        QVERIFY(writeBytes(w.recordPath(QStringLiteral("Ann")), womanEntries(40)));
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Ann"));
        w.click("Command1");
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));

        // Enter on a label loads its record, Down moves to the next label.
        w.menuLabel(0)->setFocus();
        QTest::keyClick(w.menuLabel(0), Qt::Key_Down);
        QVERIFY(w.menuLabel(1)->hasFocus());
        QCOMPARE(w.menuLabel(1)->palette().color(QPalette::WindowText), QColor(192, 0, 0));
        QTest::keyClick(w.menuLabel(1), Qt::Key_Return);
        QCOMPARE(w.form->diary().selectedRecord(), 1);
        QCOMPARE(w.text(2)->text(), QStringLiteral("21"));

        // Ctrl+Enter: the double click, with its entry enlarged.
        QTest::keyClick(w.menuLabel(2), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(w.form->diary().selectedRecord(), 2);
        QCOMPARE(w.form->chartView()->marks()[2].x2 - w.form->chartView()->marks()[2].x1, 62.f);

        // The marker moves with Page Down like a drag.
        QWidget *marker = w.child("Picture2");
        QTest::keyClick(marker, Qt::Key_PageDown);
        QCOMPARE(w.form->diary().markerTop(), 660.0);
        QCOMPARE(w.form->diary().menuOffset(), 4);
        QTest::keyClick(marker, Qt::Key_End);
        QCOMPARE(w.form->diary().markerTop(), 6040.0);
        QTest::keyClick(marker, Qt::Key_Home);
        QCOMPARE(w.form->diary().markerTop(), 240.0);

        // Alt and an arrow move the window.
        const QPoint before = w.form->pos();
        QTest::keyClick(w.form.get(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(w.form->pos(), before + QPoint(10, 0));

        // Enter on a title strip opens the keypad.
        QTest::keyClick(w.label(QStringLiteral("Label2(3)")), Qt::Key_Return);
        QVERIFY(w.form->keypad());
        QVERIFY(w.form->keypad()->isVisible());
        QCOMPARE(w.form->state().KeypadRequest[2], 1);
    }

    void messageBoxesInChineseAnsweredByKeys_data()
    {
        QTest::addColumn<bool>("question");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Alt+Y") << true << int(Qt::Key_Y) << int(Qt::AltModifier) << true;
        QTest::newRow("Alt+N") << true << int(Qt::Key_N) << int(Qt::AltModifier) << false;
        QTest::newRow("Return: Yes") << true << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
        QTest::newRow("Esc: No") << true << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
        QTest::newRow("OK box, Return") << false << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
    }

    void messageBoxesInChineseAnsweredByKeys()
    {
        QFETCH(bool, question);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, yes);
        QStringList seen; // title, text, icon and the buttons' texts
        bool closedByKey = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen << box->windowTitle() << box->text() << QString::number(box->icon());
            for (QAbstractButton *button : box->buttons())
                seen << button->text();
            box->activateWindow(); // mnemonics answer in the active window
            if (!QTest::qWaitForWindowActive(box))
                return box->done(QMessageBox::Cancel);
            QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            // The button answers with a short animated press.
            closedByKey = QTest::qWaitFor([box] { return !box->isVisible(); }, 2000);
            if (!closedByKey)
                box->done(QMessageBox::Cancel); // a key that did nothing must not hang the test
        });
        QtMessageBoxes boxes;
        if (question) {
            QCOMPARE(boxes.ask(QStringLiteral("确定要存储数据吗？")), yes);
            QCOMPARE(seen.mid(0, 3), (QStringList{"Velmora", "确定要存储数据吗？", "0"}));
            QStringList buttons = seen.mid(3);
            buttons.sort();
            QCOMPARE(buttons, (QStringList{"否(&N)", "是(&Y)"}));
        } else {
            boxes.inform(QStringLiteral("修改完毕!"));
            QCOMPARE(seen, (QStringList{"Velmora", "修改完毕!", "0", "确定"}));
        }
        QVERIFY(closedByKey);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
