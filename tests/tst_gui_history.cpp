// The history entries of the context menu through the real window: a past
// measurement through its dialog, one record deleted from its label, Ctrl+Z
// in and outside a text box, and a record table brought in.

#include "gui_support.h"
#include "ui/history_menu.h"
#include "ui/past_record_dialog.h"
#include "ui/translations.h"
#include "widgets/context_menu.h"
#include "widgets/file_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>

#include <functional>
#include <vector>

using namespace velmora;
using namespace velmora::test;

namespace {

// Offers the woman's values at each time in order until one is stored; then,
// or when none is left, closes.
class ScriptedPastRecords : public PastRecordDialog
{
public:
    QList<QDateTime> times;
    int offered = 0;
    QDateTime latest;

    void ask(const QDateTime &now, const Store &store) override
    {
        latest = now;
        for (const QDateTime &when : times) {
            ++offered;
            if (store(when, woman()))
                return;
        }
    }
};

// An entry as the diary writes back one it has read: the RecordId is a number.
QByteArray readBack(const QByteArray &id)
{
    return womansRecordLines(' ' + id + ' ');
}

QByteArray twoEntries()
{
    return readBack("20100101000000") + readBack("20100102000000");
}

// Ann with two entries shown, and the history entries in the menu.
struct History
{
    ScriptedPastRecords pastRecords; // outlive the window, which uses them
    ScriptedFileDialogs dialogs;
    Window w{"Ann\r\n"};
    HistoryMenu *history = nullptr;

    History()
    {
        history = new HistoryMenu(*w.form, pastRecords, dialogs, w.messages);
        w.startWithAnn(twoEntries());
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    }

    QStringList column() const
    {
        QStringList captions;
        for (int j = 0; j < 3; ++j)
            captions << w.menuLabel(j)->text();
        return captions;
    }

    // A right click on the control as a person makes it (the menu opens once
    // the button is up), then the entry picked with the keyboard.
    bool pick(QWidget *control, QAction *entry) const
    {
        QWindow *window = w.form->windowHandle();
        const QPoint at = control->mapTo(w.form.get(), QPoint(5, 5));
        QTest::mousePress(window, Qt::RightButton, {}, at);
        QTest::mouseRelease(window, Qt::RightButton, {}, at);
        QMenu *menu = w.form->contextMenu().menu();
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, WindowWait))
            return false;
        if (!entry->isVisible()) {
            menu->close();
            return false;
        }
        menu->setActiveAction(entry);
        QTest::keyClick(menu, Qt::Key_Return);
        if (!QTest::qWaitFor([menu] { return !menu->isVisible(); }, WindowWait))
            return false;
        // The window manager gives the window back its keys once the menu is
        // gone (offscreen never does, Wine late); only then do its shortcuts
        // such as Ctrl+Z answer.
        w.form->activateWindow();
        return QTest::qWaitForWindowActive(w.form.get(), WindowWait);
    }
};

} // namespace

class GuiHistoryTest : public QObject
{
    Q_OBJECT

private slots:
    // The dialog asks again while the store refuses; the corrected time is stored in time order.
    void pastMeasurementThroughItsDialog()
    {
        History h;
        h.pastRecords.times = {QDateTime(QDate(2010, 3, 1), QTime(9, 5, 4)),
                               QDateTime(QDate(2009, 12, 31), QTime(23, 59, 59))};
        QVERIFY(h.pick(h.w.child("Picture1"), h.history->pastRecordAction()));
        QCOMPARE(h.pastRecords.latest, h.w.now);
        QCOMPARE(h.pastRecords.offered, 2);
        QCOMPARE(h.w.messages.shown, QStringList{QStringLiteral("记录时间不能晚于现在，请核对！")});
        QCOMPARE(h.w.records(), womansRecordLines("20091231235959") + twoEntries());
        QCOMPARE(h.column(), (QStringList{"20091231235959", "20100101000000", "20100102000000"}));
    }

    // The dialog itself: the window's filters on its boxes, the time limited
    // to the clock, and a refused measurement leaving it open as typed.
    void pastRecordDialogKeepsWhatWasTyped()
    {
        QtPastRecordDialog dialog;
        std::vector<EntryTexts> offered;
        QDateTime range;
        installQtTranslation();
        onNextModal<QDialog>([&](QDialog *form) {
            range = form->findChild<QDateTimeEdit *>(QStringLiteral("PastRecordTime"))->maximumDateTime();
            auto *age = form->findChild<QLineEdit *>(QStringLiteral("PastRecordField%1").arg(AgeField));
            auto *sugar = form->findChild<QLineEdit *>(QStringLiteral("PastRecordField%1").arg(BloodSugarField));
            auto *sex = form->findChild<QComboBox *>(QStringLiteral("PastRecordField%1").arg(SexField));
            QTest::keyClicks(age, QStringLiteral("4.5a"));
            QTest::keyClicks(sugar, QStringLiteral("5.x5"));
            QTest::keyClicks(sex->lineEdit(), QStringLiteral("x"));
            QPushButton *ok = form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            QCOMPARE(ok->text(), QStringLiteral("确定"));
            // A screen reader finds everything that takes the focus named,
            // the text boxes inside the drop-downs too.
            const QStringList nameless = namelessControls(form);
            QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(u' ')));
            ok->click(); // refused: stays
            QVERIFY(form->isVisible());
            ok->click(); // stored: closes
        });
        const QDateTime now(QDate(2010, 3, 1), QTime(9, 5, 3));
        dialog.ask(now, [&](const QDateTime &, const EntryTexts &texts) {
            offered.push_back(texts);
            return offered.size() == 2;
        });
        QCOMPARE(range, now);
        QCOMPARE(offered.size(), size_t(2));
        QCOMPARE(offered[1], offered[0]);
        QCOMPARE(offered[0].box(AgeField), QStringLiteral("45"));
        QCOMPARE(offered[0].box(BloodSugarField), QStringLiteral("5.5"));
        QCOMPARE(offered[0].sex, QStringLiteral("男"));
        QCOMPARE(offered[0].heredity, QStringLiteral("无"));
    }

    // Enter presses 确定 from every box, the last one (遗传, a list) as well.
    void enterInAnyBoxOffersTheMeasurement_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("time") << "PastRecordTime";
        QTest::newRow("sex, a list") << QStringLiteral("PastRecordField%1").arg(SexField);
        QTest::newRow("age") << QStringLiteral("PastRecordField%1").arg(AgeField);
        QTest::newRow("heredity, the last") << QStringLiteral("PastRecordField%1").arg(HeredityField);
    }

    void enterInAnyBoxOffersTheMeasurement()
    {
        QFETCH(QString, box);
        QtPastRecordDialog dialog;
        int offers = 0;
        onNextModal<QDialog>([&](QDialog *form) {
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
            form->findChild<QWidget *>(box)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        dialog.ask(QDateTime(QDate(2010, 3, 1), QTime(9, 5, 3)), [&](const QDateTime &, const EntryTexts &) {
            ++offers;
            return true;
        });
        QCOMPARE(offers, 1);
    }

    // A record deleted from its label; then Ctrl+Z undoes the typing of the
    // box with the focus while it has any, else the deletion.
    void deleteFromTheRecordLabelThenCtrlZ_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("untouched box") << "" << twoEntries();
        QTest::newRow("box with typing") << "17" << readBack("20100101000000");
    }
    void deleteFromTheRecordLabelThenCtrlZ()
    {
        QFETCH(QString, typed);
        History h;
        QAction *entry = h.history->deleteAction();
        QVERIFY(!h.pick(h.w.child("Picture1"), entry)); // offered on a record label only
        QVERIFY(!h.pick(h.w.menuLabel(2), entry));      // ... that shows a record
        QVERIFY(h.pick(h.w.menuLabel(1), entry));
        QCOMPARE(h.w.messages.shown, QStringList{QStringLiteral("您真的要删除 2010年01月02日00时00分00秒 的记录吗？")});
        QCOMPARE(h.w.records(), readBack("20100101000000"));
        QCOMPARE(h.column(), (QStringList{"20100101000000", "", ""}));
        QLineEdit *box = h.w.text(3);
        box->setFocus();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QTEST(h.w.records(), "file");
        QCOMPARE(box->text(), QString());
        // Once the typing is undone, the next Ctrl+Z is the diary's.
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.w.records(), twoEntries());
        QCOMPARE(h.column(), (QStringList{"20100101000000", "20100102000000", ""}));
    }

    void importThroughTheMenu_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("chosen") << true << QByteArray(womansRecordLines("20091105083000") + twoEntries());
        QTest::newRow("cancelled") << false << twoEntries();
    }
    void importThroughTheMenu()
    {
        QFETCH(bool, chosen);
        History h;
        const QString table = h.w.dir.filePath(QStringLiteral("in.csv"));
        writeBytes(table, QByteArray(RecordTableHeading).replace(",风险评分", "") // a table without scores
                              + "2009-11-05 08:30:00,女,30,160,50,70,4.5,1.2,120,80,5.1,0,0,无\r\n");
        h.dialogs.paths = {chosen ? table : QString()};
        QVERIFY(h.pick(h.w.child("Picture1"), h.history->importAction()));
        QCOMPARE(h.dialogs.captions + h.dialogs.filters, (QStringList{"导入记录表格", "CSV 表格 (*.csv)"}));
        QCOMPARE(h.w.messages.shown.size(), chosen ? 2 : 0); // the summary, then the count
        QTEST(h.w.records(), "file");
    }
};

QTEST_MAIN(GuiHistoryTest)
#include "tst_gui_history.moc"
