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
        QCOMPARE(w.form->selectedRecord(), 0);
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
        QCOMPARE(w.form->selectedRecord(), -1);
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

    void storeRefusalsAtEachLimit_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("age empty") << 2 << "" << false;
        QTest::newRow("age 0") << 2 << "0" << false;
        QTest::newRow("age 1") << 2 << "1" << true;
        QTest::newRow("age 130") << 2 << "130" << true;
        QTest::newRow("age 131") << 2 << "131" << false;
        QTest::newRow("height 230") << 3 << "230" << true;
        QTest::newRow("height 230.5") << 3 << "230.5" << false;
        QTest::newRow("weight 201") << 4 << "201" << false;
        QTest::newRow("cholesterol 20.1") << 11 << "20.1" << false;
        QTest::newRow("waist 999") << 12 << "999" << true;
    }

    void storeRefusalsAtEachLimit()
    {
        QFETCH(int, box);
        QFETCH(QString, value);
        QFETCH(bool, accepted);
        auto w = withUser(QByteArray());
        QList<QString> numbers = womansNumbers();
        numbers[box - 2] = value;
        w->fill(QStringLiteral("女"), numbers, QStringLiteral("无"));
        w->click("Command2");
        QCOMPARE(w->recordBytes(QStringLiteral("Ann")).isEmpty(), !accepted);
        QCOMPARE(w->messages.last() == messages::InvalidEntry, !accepted);
        QCOMPARE(boxTexts(*w), QStringList(13, QString())); // emptied either way
    }

    void storeChecksSexAndHeredity()
    {
        auto w = withUser(QByteArray());
        w->fill(QString(), womansNumbers(), QStringLiteral("无"));
        w->click("Command2");
        QCOMPARE(w->messages.last(), messages::InvalidEntry);
        w->fill(QStringLiteral("女"), womansNumbers(), QStringLiteral("也许"));
        w->click("Command2");
        QCOMPARE(w->messages.last(), messages::InvalidEntry);
        QCOMPARE(w->recordBytes(QStringLiteral("Ann")), QByteArray());
        w->fill(QStringLiteral("女"), womansNumbers(), QString());
        w->click("Command2");
        QVERIFY(w->recordBytes(QStringLiteral("Ann")).endsWith(" 70 \r\n\r\n"));
    }

    void storeAnsweredNoOrWithoutUser()
    {
        Window w;
        QVERIFY(w.start());
        w.click("Command2");
        QCOMPARE(w.messages.shown, QStringList{messages::ChooseOrAddUser});

        auto u = withUser(womanEntries(2));
        u->click("Command1");
        u->fill(QStringLiteral("女"), womansNumbers(), QStringLiteral("无"));
        u->messages.answers = {false};
        u->click("Command2");
        QCOMPARE(u->recordBytes(QStringLiteral("Ann")), womanEntries(2));
        QCOMPARE(u->text(2)->text(), QStringLiteral("30"));
        QCOMPARE(u->form->chartMarks().size(), size_t(2));
    }

    void storeIntoTwentyFiveEntries()
    {
        auto w = withUser(womanEntries(25));
        w->fill(QStringLiteral("男"), womansNumbers(), QStringLiteral("有"));
        w->click("Command2");
        QByteArray expected;
        RecordTable table;
        QCOMPARE(readRecords(w->recordBytes(QStringLiteral("Ann")), table), 26);
        QCOMPARE(table[25][RecordIdField].displayText(), QStringLiteral("20100301090503"));
        QCOMPARE(table[24][AgeField].number(), 44.0);
        QCOMPARE(w->form->chartMarks().size(), size_t(26));
        QCOMPARE(w->menuLabel(19)->text(), QStringLiteral("20100101000019"));
    }

    void diagnosisIsDrawnAt5100AfterAStoreOnly()
    {
        QByteArray entry = womansRecordLines("20090620210129");
        entry.replace(" 4.5 ", g(u"糖尿病"));
        auto w = withUser(entry);
        w->fill(QStringLiteral("女"), womansNumbers(), QStringLiteral("无"));
        w->click("Command2");
        QCOMPARE(w->form->chartMarks()[0].y2, float(6000 - 5100));
        w->click("Command1");
        QCOMPARE(w->form->chartMarks()[0].y2, float(6000 - 1));
    }

    void filesBeyond1001EntriesKeepEveryEntry()
    {
        auto w = withUser(womanEntries(1200));
        w->fill(QStringLiteral("女"), womansNumbers(), QStringLiteral("无"));
        w->click("Command2");
        RecordTable table;
        QCOMPARE(readRecords(w->recordBytes(QStringLiteral("Ann")), table), 1201);
        QCOMPARE(w->form->chartMarks().size(), size_t(1201));
    }

    void failedSavesKeepTheFileAndSaySo()
    {
        auto w = withUser(womanEntries(3));
        w->click("Command1");
        w->folder.failAfterBytes = 100;
        w->fill(QStringLiteral("女"), womansNumbers(), QStringLiteral("无"));
        w->click("Command2");
        QVERIFY(w->messages.last().startsWith(QStringLiteral("数据保存失败")));
        QCOMPARE(w->recordBytes(QStringLiteral("Ann")), womanEntries(3));
        QCOMPARE(w->text(2)->text(), QStringLiteral("30")); // the typing is not lost

        w->clickMenuLabel(1);
        w->text(4)->setText(QStringLiteral("99"));
        w->click("Command8");
        QVERIFY(w->messages.last().startsWith(QStringLiteral("数据保存失败")));
        QVERIFY(!w->messages.shown.contains(messages::Modified));
        QCOMPARE(w->recordBytes(QStringLiteral("Ann")), womanEntries(3));
        QCOMPARE(w->form->recordTable()[1][WeightField].number(), 50.0);
    }

    // Records another program wrote after the display are not overwritten by a modify.
    void modifyOfAFileChangedOutsideWritesNothing()
    {
        auto w = withUser(womanEntries(5));
        w->click("Command1");
        w->clickMenuLabel(1);
        QVERIFY(writeBytes(w->recordPath(QStringLiteral("Ann")), womanEntries(7)));
        w->text(4)->setText(QStringLiteral("99"));
        w->click("Command8");
        QCOMPARE(w->messages.shown, QStringList{messages::ChangedOutside});
        QCOMPARE(w->recordBytes(QStringLiteral("Ann")), womanEntries(7));
        QCOMPARE(w->form->recordCount(), 7);
        QCOMPARE(w->form->chartMarks().size(), size_t(7));
        QCOMPARE(w->form->selectedRecord(), -1);
        QCOMPARE(w->text(4)->text(), QStringLiteral("99"));
    }

    void unreadableFileStopsTheStoreBeforeWriting()
    {
        auto w = withUser(womanEntries(2));
        w->folder.failRecordReads = true;
        w->fill(QStringLiteral("女"), womansNumbers(), QStringLiteral("无"));
        w->click("Command2");
        QVERIFY(w->messages.last().startsWith(QStringLiteral("数据文件读取失败")));
        QCOMPARE(w->recordBytes(QStringLiteral("Ann")), womanEntries(2));
        QCOMPARE(w->text(2)->text(), QStringLiteral("30"));
    }

    void loadShowsTextForms()
    {
        QByteArray entry = womansRecordLines("20090620210129");
        entry.replace(" 160 ", " 172.5 ").replace(" 30 ", " 45 ");
        entry.replace(g(u"无") + "\r\n", "\r\n");
        auto w = withUser(entry + womanEntries(9));
        w->click("Command1");
        w->clickMenuLabel(0);
        QCOMPARE(w->text(2)->text(), QStringLiteral("45"));
        QCOMPARE(w->text(3)->text(), QStringLiteral("172.5"));
        QCOMPARE(w->combo("Combo12")->currentText(), QString());
        QCOMPARE(w->caption("Label1"), QStringLiteral("2009年06月20日21时01分29秒"));
        w->clickMenuLabel(3);
        QCOMPARE(w->form->selectedRecord(), 3);
        QCOMPARE(w->caption("Label7"), QStringLiteral("20100101000002"));

        // An empty label after a record was shown: empty boxes, the old date stays.
        w->clickMenuLabel(15);
        QCOMPARE(w->form->selectedRecord(), 15);
        QCOMPARE(w->caption("Label1"), QStringLiteral("2010年01月01日00时00分02秒"));
        QCOMPARE(w->text(2)->text(), QString());
        QCOMPARE(w->caption("Label7"), QString());
    }

    void modifyCases()
    {
        auto w = withUser(womanEntries(3));
        w->click("Command1");

        // Nothing selected since start-up: nothing happens even with full boxes.
        w->fill(QStringLiteral("女"), womansNumbers(), QStringLiteral("无"));
        w->click("Command8");
        QVERIFY(w->messages.shown.isEmpty());

        // Empty boxes and a text of two points are written as they stand.
        w->clickMenuLabel(1);
        w->text(2)->clear();
        w->text(8)->clear();
        QTest::keyClicks(w->text(8), "5..1");
        w->click("Command8");
        RecordTable table;
        QCOMPARE(readRecords(w->recordBytes(QStringLiteral("Ann")), table), 3);
        QVERIFY(table[1][AgeField].isEmpty());
        QCOMPARE(table[1][BloodSugarField].displayText(), QStringLiteral("5..1"));
        QCOMPARE(table[0][AgeField].number(), 20.0);
        QCOMPARE(w->form->chartMarks()[1].y2, float(6000 - 1)); // a text scores 0
        const QByteArray afterModify = w->recordBytes(QStringLiteral("Ann"));

        // With the sex box emptied by Backspace the button does nothing.
        w->clickMenuLabel(0);
        w->combo("Combo1")->lineEdit()->setFocus();
        w->combo("Combo1")->lineEdit()->end(false);
        QTest::keyClick(w->combo("Combo1")->lineEdit(), Qt::Key_Backspace);
        QCOMPARE(w->combo("Combo1")->currentText(), QString());
        w->messages.shown.clear();
        w->click("Command8");
        QVERIFY(w->messages.shown.isEmpty());

        // After a clear, nothing is selected.
        w->clickMenuLabel(0);
        w->click("Command5");
        w->fill(QStringLiteral("女"), womansNumbers(), QStringLiteral("无"));
        w->click("Command8");
        QVERIFY(w->messages.shown.isEmpty());
        QCOMPARE(w->recordBytes(QStringLiteral("Ann")), afterModify);
    }

    void modifyAfterSwitchingUsersDoesNothing()
    {
        Window w(crlfLines({"Ann", "Bob"}));
        QVERIFY(writeBytes(w.recordPath(QStringLiteral("Ann")), womanEntries(3)));
        QVERIFY(writeBytes(w.recordPath(QStringLiteral("Bob")), womanEntries(1)));
        QVERIFY(w.start());
        w.confirmUser(QStringLiteral("Ann"));
        w.click("Command1");
        w.clickMenuLabel(2);
        // Bob is picked in the panel; Ann's entry is still in the boxes.
        w.click("Command6");
        QComboBox *users = w.combo("Combo2");
        users->setCurrentIndex(1);
        emit users->activated(1);
        w.click("Command11");
        w.clickMenuLabel(2); // Ann's table is still shown
        w.messages.shown.clear();
        w.click("Command8");
        QVERIFY(w.messages.shown.isEmpty());
        QCOMPARE(w.recordBytes(QStringLiteral("Bob")), womanEntries(1));
        QCOMPARE(w.recordBytes(QStringLiteral("Ann")), womanEntries(3));
    }

    void modifyWithoutUserOrFile()
    {
        Window w;
        QVERIFY(w.start());
        w.click("Command8");
        QCOMPARE(w.messages.shown, QStringList{messages::ChooseOrAddUser});
        auto u = withUser(womanEntries(1));
        QFile::remove(u->recordPath(QStringLiteral("Ann")));
        u->click("Command8");
        QCOMPARE(u->messages.shown, QStringList{messages::NothingToModify});
        QVERIFY(!u->folder.RecordFileExists(QStringLiteral("Ann")));
    }

    void clearEmptiesEverythingButTheFile()
    {
        auto w = withUser(womanEntries(30));
        w->click("Command1");
        w->clickMenuLabel(4);
        for (int twice = 0; twice < 2; ++twice) {
            w->click("Command5");
            QCOMPARE(boxTexts(*w), QStringList(13, QString()));
            QVERIFY(w->form->chartMarks().empty());
            QCOMPARE(w->menuLabel(0)->text(), QString());
            QCOMPARE(w->form->recordCount(), 0);
            QCOMPARE(w->form->selectedRecord(), -1);
            QCOMPARE(w->form->menuOffset(), 0);
            QCOMPARE(w->child("Picture2")->pos(), QPoint(856, 24));
        }
        QCOMPARE(w->caption("Label5"), QStringLiteral("Ann"));
        QCOMPARE(w->recordBytes(QStringLiteral("Ann")), womanEntries(30));
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
