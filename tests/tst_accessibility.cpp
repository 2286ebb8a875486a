// Accessible names, the keyboard doing what the mouse does, and the message
// boxes in Chinese answered from the keyboard.

#include "gui_support.h"

#include "ui/form2.h"
#include "ui/message_boxes.h"
#include "ui/translations.h"
#include "widgets/file_dialogs.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeView>

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
        w.startWithAnn(womanEntries(40));
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));

        // A screen reader says the date and time of a record and whose records they are.
        QCOMPARE(w.menuLabel(1)->accessibleName(), QStringLiteral("记录 2：2010年01月01日 00:00:01"));
        QCOMPARE(w.label(QStringLiteral("Label5"))->accessibleName(), QStringLiteral("当前用户：Ann"));
        QAccessibleTextInterface *shown = QAccessible::queryAccessibleInterface(w.menuLabel(1))->textInterface();
        QVERIFY(shown);
        QCOMPARE(shown->text(0, shown->characterCount()), QStringLiteral("20100101000001"));

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
        // Its keys, the display and the window itself are named and described in Chinese.
        static const QRegularExpression chinese(QStringLiteral("^[^A-Za-z]*[\\x{4e00}-\\x{9fff}][^A-Za-z]*$"));
        QWidgetList keypad = w.form->keypad()->findChildren<QWidget *>();
        keypad << w.form->keypad();
        QCOMPARE(keypad.size(), 15);
        for (const QWidget *control : std::as_const(keypad)) {
            QVERIFY2(chinese.match(control->accessibleName()).hasMatch(), qPrintable(control->objectName()));
            QVERIFY2(control == w.form->keypad() || chinese.match(control->accessibleDescription()).hasMatch(),
                     qPrintable(control->objectName()));
        }
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
        onNextModal<QMessageBox>([&](QMessageBox *box) {
            seen << box->windowTitle() << box->text() << QString::number(box->icon());
            for (QAbstractButton *button : box->buttons())
                seen << button->text();
            box->activateWindow(); // mnemonics answer in the active window
            if (!QTest::qWaitForWindowActive(box))
                return;
            QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            // The button answers with a short animated press; a key that did nothing is closed after.
            closedByKey = QTest::qWaitFor([box] { return !box->isVisible(); }, 2000);
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

    // The dialogs of the exports and the import list their files in Chinese
    // whatever the system's locale: types, sizes and dates, headings and captions.
    void fileDialogsListInChinese_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("导出记录表格…") << true;
        QTest::newRow("导入记录表格…") << false;
    }

    void fileDialogsListInChinese()
    {
        QFETCH(bool, save);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("子文件夹")));
        QVERIFY(writeBytes(QDir(dir.path()).filePath(QStringLiteral("记录.csv")), QByteArray(2000, 'x')));
        const QDateTime modified = QFileInfo(QDir(dir.path()).filePath(QStringLiteral("记录.csv"))).lastModified();
        QMap<QString, QStringList> rows; // name: size, type, date
        QStringList captions;            // of labels, buttons and headings
        onNextModal<QFileDialog>([&](QFileDialog *dialog) {
            dialog->setDirectory(dir.path());
            auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
            QVERIFY(view);
            const QAbstractItemModel *model = view->model();
            QVERIFY(QTest::qWaitFor([&] { return model->rowCount(view->rootIndex()) == 2; }, 5000));
            for (int row = 0; row < 2; ++row) {
                const auto cell = [&](int column) { return model->index(row, column, view->rootIndex()).data().toString(); };
                rows[cell(0)] = QStringList{cell(1), cell(2), cell(3)};
            }
            for (int column = 0; column < 4; ++column)
                captions << model->headerData(column, Qt::Horizontal).toString();
            for (const QLabel *label : dialog->findChildren<QLabel *>())
                captions << label->text();
            for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
                captions << button->text() << button->toolTip();
        });
        QtFileDialogs dialogs;
        if (save)
            dialogs.saveFileName(QStringLiteral("导出记录表格"), QStringLiteral("Ann-记录.csv"), QStringLiteral("CSV 表格 (*.csv)"));
        else
            dialogs.openFileName(QStringLiteral("导入记录表格"), QStringLiteral("CSV 表格 (*.csv)"));
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        QCOMPARE(rows.value(QStringLiteral("子文件夹")).value(1), QStringLiteral("文件夹"));
        QCOMPARE(rows.value(QStringLiteral("记录.csv")),
                 (QStringList{chinese.formattedDataSize(2000), QStringLiteral("CSV 文件"),
                              chinese.toString(modified, QLocale::ShortFormat)}));
        captions.removeAll(QString());
        QVERIFY(!captions.isEmpty());
        static const QRegularExpression english(QStringLiteral("[A-Za-z]{2,}"));
        for (const QString &caption : std::as_const(captions))
            QVERIFY2(!caption.contains(english) || caption.contains(QStringLiteral("*.csv")), qPrintable(caption));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
