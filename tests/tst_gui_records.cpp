// Storing, loading, modifying and clearing records through the real window,
// checked against the bytes of the files.

#include "chart/trend_chart.h"
#include "diary/messages.h"
#include "gui_support.h"

#include "ui/key_filter.h"
#include "ui/translations.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QGuiApplication>

using namespace velmora;
using namespace velmora::test;

class GuiRecordsTest : public QObject
{
    Q_OBJECT

    // A started window with the confirmed user "Ann" and her record file.
    static std::unique_ptr<Window> withUser(const QByteArray &records)
    {
        auto w = std::make_unique<Window>("Ann\r\n");
        w->startWithAnn(records, false);
        return w;
    }

    static QStringList boxTexts(const Window &w)
    {
        QStringList texts{w.combo("Combo1")->currentText()};
        for (int n = 2; n <= 12; ++n)
            texts << w.text(n)->text();
        texts << w.combo("Combo12")->currentText();
        return texts;
    }

    // The emptied line edit of a text box or combo by its control name, with
    // the user panel open (for Combo2).
    static FilteredLineEdit *emptyBox(const Window &w, const QString &name)
    {
        w.click("Command6");
        QWidget *control = w.child(name);
        auto *combo = qobject_cast<QComboBox *>(control);
        auto *edit = qobject_cast<FilteredLineEdit *>(combo ? combo->lineEdit() : control);
        if (edit)
            edit->clear();
        return edit;
    }

private slots:
    void initTestCase() { QVERIFY(installQtTranslation()); }
    void cleanup() { setSelectionSource({}); }

    void theRoadOfOneRecord()
    {
        Window w;
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Ann"));
        w.combo("Combo1")->setEditText(QStringLiteral("女")); // lists picked, numbers typed
        for (int n = 2; n <= 12; ++n)
            QTest::keyClicks(w.text(n), womansNumbers()[n - 2]);
        w.combo("Combo12")->setEditText(QStringLiteral("无"));
        w.messages.shown.clear();
        w.click("Command2");
        QCOMPARE(w.messages.shown, QStringList{QStringLiteral("您真的要保存该项数据吗？")});
        const QByteArray stored = womansRecordLines("20100301090503");
        QCOMPARE(w.records(), stored);
        QCOMPARE(w.form->chartView()->marks()[0].y2, float(6000 - 1424));
        QCOMPARE(w.menuLabel(0)->text(), QStringLiteral("20100301090503"));
        QCOMPARE(boxTexts(w), QStringList(13, QString()));

        w.clickMenuLabel(0);
        QCOMPARE(w.form->diary().selectedRecord(), 0);
        QCOMPARE(w.caption("Label1"), QStringLiteral("2010年03月01日09时05分03秒"));
        QCOMPARE(w.caption("Label7"), QStringLiteral("20100301090503"));
        QCOMPARE(boxTexts(w), (QStringList{"女", "30", "160", "50", "1.2", "120", "80", "5.1", "0", "0", "4.5",
                                           "70", "无"}));

        w.text(4)->clear();
        QTest::keyClicks(w.text(4), "60");
        w.click("Command8");
        QCOMPARE(w.messages.last(), QStringLiteral("修改完毕!"));
        const QByteArray modified = crlfLines({"20100301090503", g(u"女"), "30", "160", "60", "1.2", "120", "80",
                                               "5.1", "0", "0", "4.5", "70", g(u"无")});
        QCOMPARE(w.records(), modified);
        QCOMPARE(w.form->diary().selectedRecord(), -1);
        QCOMPARE(boxTexts(w), QStringList(13, QString()));
        QCOMPARE(w.caption("Label1"), QStringLiteral("2010年03月01日09时05分03秒"));
        QCOMPARE(w.form->chartView()->marks()[0].y2, float(6000 - 1424 - 4.5 * 5));
    }

    void keyFiltersPerCharacterClass()
    {
        auto w = withUser(QByteArray());
        QLineEdit *age = w->text(2);
        QTest::keyClicks(age, "a -.4");
        QCOMPARE(age->text(), QStringLiteral("4"));

        QLineEdit *sugar = w->text(8);
        QTest::keyClicks(sugar, "3.5.x");
        QCOMPARE(sugar->text(), QStringLiteral("3.5."));

        QLineEdit *sex = w->combo("Combo1")->lineEdit();
        sex->setFocus();
        sex->end(false);
        QTest::keyClicks(sex, "a1");
        Window::type(sex, QStringLiteral("女"));
        QCOMPARE(sex->text(), QStringLiteral("男"));
        QTest::keyClick(sex, Qt::Key_Backspace);
        QCOMPARE(sex->text(), QString());

        QLineEdit *name = emptyBox(*w, QStringLiteral("Combo2"));
        QTest::keyClicks(name, QStringLiteral("Tom9 1-/"));
        QCOMPARE(name->text(), QStringLiteral("Tom9"));
    }

    void pasteAndDropOfForbiddenTextAreRefused()
    {
        auto w = withUser(QByteArray());
        QLineEdit *weight = w->text(4);
        weight->setText(QStringLiteral("7"));
        weight->end(false);
        QGuiApplication::clipboard()->setText(QStringLiteral("2.5"));
        weight->setFocus();
        QTest::keySequence(weight, QKeySequence::Paste); // Ctrl+V: refusals are the menu rows below
        QCOMPARE(weight->text(), QStringLiteral("72.5"));

        // Dropped text that the filter refuses is not taken.
        QMimeData dropped;
        dropped.setText(QStringLiteral("1,2"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QCoreApplication::sendEvent(weight, &enter);
        QVERIFY(!enter.isAccepted());

        // An input method's commit is filtered like a typed key.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("八,"));
        QCoreApplication::sendEvent(weight, &commit);
        QCOMPARE(weight->text(), QStringLiteral("72.5"));
    }

    void editingKeysAsThePlatformSendsThem_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor"); // -1: all selected
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after");
        const int del = Qt::Key_Delete;
        const int backspace = Qt::Key_Backspace;
        QTest::newRow("Delete in the age box") << "Text2" << "45" << 0 << del << "5";
        QTest::newRow("Delete of a selection") << "Text8" << "3.5" << -1 << del << "";
        QTest::newRow("Delete in the sex combo") << "Combo1" << "男" << 0 << del << "";
        QTest::newRow("Delete in the user name") << "Combo2" << "Tom" << 1 << del << "Tm";
        QTest::newRow("Backspace in the heredity combo") << "Combo12" << "无" << 1 << backspace << "";
    }

    void editingKeysAsThePlatformSendsThem()
    {
        QFETCH(QString, control);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(int, key);
        QFETCH(QString, after);
        auto w = withUser(QByteArray());
        FilteredLineEdit *edit = emptyBox(*w, control);
        QVERIFY(edit);
        edit->setText(before);
        edit->setFocus();
        if (cursor < 0)
            edit->selectAll();
        else
            edit->setCursorPosition(cursor);
        // X11 and Wayland give Delete the text U+007F, Backspace "\b".
        const QString text = key == Qt::Key_Delete ? QString(QChar(0x7f)) : QStringLiteral("\b");
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(key), text, Qt::NoModifier);
        QCOMPARE(edit->text(), after);
    }

    void everyPasteGoesThroughTheFilter_data()
    {
        QTest::addColumn<QString>("way"); // "middle": the primary selection; "menu": the clipboard
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("middle, age, a,\"b") << "middle" << "Text2" << "a,\"b" << false;
        QTest::newRow("middle, sex, 女") << "middle" << "Combo1" << "女" << false;
        QTest::newRow("middle, age, 42") << "middle" << "Text2" << "42" << true;
        QTest::newRow("menu, weight, 2.5") << "menu" << "Text4" << "2.5" << true;
        QTest::newRow("menu, weight, 1,2") << "menu" << "Text4" << "1,2" << false;
        QTest::newRow("menu, sex, 女") << "menu" << "Combo1" << "女" << false;
        QTest::newRow("menu, user name, Tom9") << "menu" << "Combo2" << "Tom9" << true;
    }

    void everyPasteGoesThroughTheFilter()
    {
        QFETCH(QString, way);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        auto w = withUser(QByteArray());
        FilteredLineEdit *edit = emptyBox(*w, control);
        QVERIFY(edit);
        if (way == QStringLiteral("middle")) {
            setSelectionSource([text] { return std::optional<QString>(text); });
            QTest::mouseClick(edit, Qt::MiddleButton, {}, QPoint(5, 5));
        } else {
            QGuiApplication::clipboard()->setText(text);
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(edit, &rightClick);
            QMenu *menu = edit->findChild<QMenu *>();
            QVERIFY(menu);
            QStringList entries;
            for (QAction *action : menu->actions())
                if (!action->isSeparator())
                    entries << action->text().section(u'\t', 0, 0);
            QCOMPARE(entries, (QStringList{"撤消(&U)", "重做(&R)", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除", "全选"}));
            QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
            QVERIFY(paste);
            QCOMPARE(paste->isEnabled(), accepted); // greyed when the box would refuse the text
            paste->trigger();                        // a greyed entry does nothing
            menu->close();
        }
        QCOMPARE(edit->text(), accepted ? text : QString());
    }
};

QTEST_MAIN(GuiRecordsTest)
#include "tst_gui_records.moc"
