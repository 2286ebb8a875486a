// Storing, loading, modifying and clearing records through the real window,
// checked against the bytes of the files.

#include "chart/trend_chart.h"
#include "gui_support.h"
#include "messages.h"

#include "key_filter.h"

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
        writeBytes(w->recordPath(QStringLiteral("Ann")), records);
        w->start();
        w->confirmUser(QStringLiteral("Ann"));
        w->messages.shown.clear();
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

private slots:
    void theRoadOfOneRecord()
    {
        Window w;
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Ann"));
        w.fill(QStringLiteral("女"), womansNumbers(), QStringLiteral("无"));
        w.messages.shown.clear();
        w.click("Command2");
        QCOMPARE(w.messages.shown, QStringList{messages::ConfirmStore});
        const QByteArray stored = womansRecordLines("20100301090503");
        QCOMPARE(w.recordBytes(QStringLiteral("Ann")), stored);
        QCOMPARE(w.form->chartMarks().size(), size_t(1));
        QCOMPARE(w.form->chartMarks()[0].y2, float(6000 - 1424));
        QCOMPARE(w.menuLabel(0)->text(), QStringLiteral("20100301090503"));
        QCOMPARE(w.menuLabel(1)->text(), QString());
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
        QCOMPARE(w.messages.last(), messages::Modified);
        const QByteArray modified = crlfLines({"20100301090503", g(u"女"), "30", "160", "60", "1.2", "120", "80",
                                               "5.1", "0", "0", "4.5", "70", g(u"无")});
        QCOMPARE(w.recordBytes(QStringLiteral("Ann")), modified);
        QCOMPARE(w.form->diary().selectedRecord(), -1);
        QCOMPARE(boxTexts(w), QStringList(13, QString()));
        QCOMPARE(w.caption("Label1"), QStringLiteral("2010年03月01日09时05分03秒"));
        QCOMPARE(w.form->chartMarks()[0].y2, float(6000 - 1424 - 4.5 * 5));

        // A second modify right away does nothing.
        w.messages.shown.clear();
        w.combo("Combo1")->setEditText(QStringLiteral("女"));
        w.click("Command8");
        QVERIFY(w.messages.shown.isEmpty());
        QCOMPARE(w.recordBytes(QStringLiteral("Ann")), modified);
    }

    void keyFiltersPerCharacterClass()
    {
        auto w = withUser(QByteArray());
        QLineEdit *age = w->text(2);
        QTest::keyClicks(age, "a -.4");
        QCOMPARE(age->text(), QStringLiteral("4"));
        QTest::keyClick(age, Qt::Key_Backspace);
        QCOMPARE(age->text(), QString());
        QTest::keyClick(age, Qt::Key_Return);
        QCOMPARE(age->text(), QString());

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
    }

    void pasteAndDropOfForbiddenTextAreRefused()
    {
        auto w = withUser(QByteArray());
        QLineEdit *weight = w->text(4);
        weight->setText(QStringLiteral("7"));
        weight->end(false);
        QGuiApplication::clipboard()->setText(QStringLiteral("1,2"));
        weight->setFocus();
        QTest::keySequence(weight, QKeySequence::Paste);
        QCOMPARE(weight->text(), QStringLiteral("7"));
        QGuiApplication::clipboard()->setText(QStringLiteral("2.5"));
        QTest::keySequence(weight, QKeySequence::Paste);
        QCOMPARE(weight->text(), QStringLiteral("72.5"));

        // The context menu's paste goes through the filter too.
        QGuiApplication::clipboard()->setText(QStringLiteral("1"));
        auto *sex = qobject_cast<FilteredLineEdit *>(w->combo("Combo1")->lineEdit());
        QVERIFY(sex);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), sex->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(sex, &menuEvent);
        QMenu *menu = sex->findChild<QMenu *>();
        QVERIFY(menu);
        QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
        QVERIFY(paste);
        paste->trigger();
        menu->close();
        QCOMPARE(sex->text(), QStringLiteral("男"));

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
};

QTEST_MAIN(GuiRecordsTest)
#include "tst_gui_records.moc"
