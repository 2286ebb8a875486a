// The medicine diary through the real window: the menu's entries after the
// history's, Ctrl+M, the 用药记录 window's buttons, tables, deletion, undo
// and export, and the small dialog itself.

#include "gui_support.h"
#include "medicines/common_names.h"
#include "ui/history_menu.h"
#include "ui/medicine_dialog.h"
#include "ui/medicine_menu.h"
#include "ui/medicine_window.h"
#include "ui/past_record_dialog.h"
#include "widgets/context_menu.h"

#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QMenu>
#include <QTableWidget>

using namespace velmora;
using namespace velmora::test;

namespace {

using Action = MedicineAction;

// Offers the typed events in order until one is stored.
class ScriptedMedicineDialog : public MedicineDialog
{
public:
    std::deque<Diary::TypedMedicine> typed;
    QList<Offer> offers;

    void ask(const Offer &offer, const Store &store) override
    {
        offers << offer;
        while (!typed.empty()) {
            const Diary::TypedMedicine next = typed.front();
            typed.pop_front();
            if (store(next))
                return;
        }
    }
};

class NoPastRecords : public PastRecordDialog
{
public:
    void ask(const QDateTime &, const Store &) override {}
};

const QByteArray Header = g(u"时间\t事件\t药名\t剂量\t用法\t备注") + "\r\n";

struct Medicines
{
    ScriptedMedicineDialog dialog; // outlive the window, which uses them
    NoPastRecords pastRecords;
    ScriptedFileDialogs files;
    Window w{"Ann\r\n"};
    MedicineMenu *menu = nullptr;

    Medicines()
    {
        w.now = QDateTime(QDate(2024, 3, 20), QTime(20, 15, 30));
        new HistoryMenu(*w.form, pastRecords, files, w.messages);
        menu = new MedicineMenu(*w.form, dialog, files, w.messages);
        w.startWithAnn(womanEntries(2));
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get(), WindowWait));
    }
    static Diary::TypedMedicine typed(Action action, const QString &name, const QString &dose, QDate day)
    {
        const QString frequency = action == Action::Stop ? QString() : u"每日1次"_qs;
        return {QDateTime(day, QTime(8, 0)), action, name, dose, frequency, {}};
    }
    // Opens the window with Ctrl+M and runs `act` in it.
    void inWindow(const std::function<void(MedicineWindow *)> &act)
    {
        bool opened = false;
        onNextModal<MedicineWindow>([&](MedicineWindow *window) {
            opened = true;
            act(window);
        });
        QTest::keyClick(w.form.get(), Qt::Key_M, Qt::ControlModifier);
        QVERIFY(opened);
    }
    static void click(MedicineWindow *window, const char *button)
    {
        window->findChild<QPushButton *>(QString::fromLatin1(button))->click();
    }
    static QStringList column(const QTableWidget &table, int c)
    {
        QStringList cells;
        for (int r = 0; r < table.rowCount(); ++r)
            cells << table.item(r, c)->text();
        return cells;
    }
};

} // namespace

class GuiMedicinesTest : public QObject
{
    Q_OBJECT

private slots:
    void theEntriesFollowTheHistoryInAGroupOfTheirOwn()
    {
        Medicines m;
        const QList<QAction *> actions = m.w.form->contextMenu().menu()->actions();
        const qsizetype at = actions.indexOf(m.menu->medicinesAction());
        QVERIFY(at > actions.indexOf(m.w.form->findChild<QAction *>(u"ImportRecords"_qs)));
        QVERIFY(actions[at - 1]->isSeparator());
        QCOMPARE(actions[at + 1], m.menu->exportAction());
        QCOMPARE(m.menu->medicinesAction()->text(), u"用药记录…"_qs);
        QCOMPARE(m.menu->medicinesAction()->shortcut(), QKeySequence(u"Ctrl+M"_qs));
    }

    void startAdjustAndStopThroughTheWindow()
    {
        Medicines m;
        // 148/92 twelve times in the two weeks before March 1st.
        QByteArray bp = g(u"时间\t收缩压\t舒张压\t脉搏\t来源\t备注\r\n");
        for (int day = 16; day <= 27; ++day)
            bp += "202402" + QByteArray::number(day) + "070000\t148\t92\t\tx\t\r\n";
        m.w.writeUserFile(UserFile::BloodPressure, bp);
        m.inWindow([&](MedicineWindow *window) {
            QCOMPARE(window->windowTitle(), u"用药记录 - Ann"_qs);
            m.dialog.typed = {Medicines::typed(Action::Start, u"氨氯地平"_qs, u"5 mg"_qs, QDate(2024, 3, 1))};
            Medicines::click(window, "StartMedicine");
            QCOMPARE(m.dialog.offers[0].initial.when, m.w.now);
            QVERIFY(m.dialog.offers[0].names.startsWith(u"氨氯地平"_qs)); // her own first, then the common names
            QCOMPARE(m.dialog.offers[0].names.size(), commonMedicineNames().size());
            m.dialog.typed = {Medicines::typed(Action::Start, u"阿托伐他汀"_qs, u"20 mg"_qs, QDate(2024, 3, 2))};
            Medicines::click(window, "StartMedicine");
            // 调整… offers what is taken, the picked one first filled in.
            QTableWidget &plan = const_cast<QTableWidget &>(window->planTable());
            plan.setCurrentCell(1, 0);
            m.dialog.typed = {Medicines::typed(Action::Adjust, u"阿托伐他汀"_qs, u"10 mg"_qs, QDate(2024, 3, 10))};
            Medicines::click(window, "AdjustMedicine");
            QCOMPARE(m.dialog.offers[2].names, (QStringList{u"氨氯地平"_qs, u"阿托伐他汀"_qs}));
            QCOMPARE(m.dialog.offers[2].initial.name, u"阿托伐他汀"_qs);
            QCOMPARE(m.dialog.offers[2].initial.frequency, u"每日1次"_qs);
            m.dialog.typed = {Medicines::typed(Action::Stop, u"氨氯地平"_qs, {}, QDate(2024, 3, 15))};
            Medicines::click(window, "StopMedicine");
            QCOMPARE(Medicines::column(window->planTable(), 0), QStringList{u"阿托伐他汀"_qs});
            QCOMPARE(Medicines::column(window->planTable(), 1), QStringList{u"10 mg"_qs});
            QCOMPARE(Medicines::column(window->planTable(), 3), QStringList{u"2024-03-02 08:00"_qs});
            QCOMPARE(Medicines::column(window->historyTable(), 1), (QStringList{u"停用"_qs, u"调整"_qs, u"开始"_qs, u"开始"_qs}));
            QCOMPARE(window->historyTable().item(3, 6)->text(), u"之前平均 148/92（12 次），之后没有读数"_qs);
        });
        QVERIFY(m.w.messages.shown.isEmpty());
        QCOMPARE(m.w.userFile(UserFile::Medicines), Header + g(u"20240301080000\t开始\t氨氯地平\t5 mg\t每日1次\t\r\n"
                                                               u"20240302080000\t开始\t阿托伐他汀\t20 mg\t每日1次\t\r\n"
                                                               u"20240310080000\t调整\t阿托伐他汀\t10 mg\t每日1次\t\r\n"
                                                               u"20240315080000\t停用\t氨氯地平\t\t\t\r\n"));
    }

    void refusalsDeletionUndoAndExport()
    {
        Medicines m;
        const QString csv = m.w.dir.filePath(u"out.csv"_qs);
        m.files.paths = {m.w.folder.RecordFilePath(u"Ann"_qs), csv};
        m.inWindow([&](MedicineWindow *window) {
            Medicines::click(window, "StopMedicine"); // nothing taken: no dialog
            Medicines::click(window, "DeleteMedicineEvent"); // nothing picked
            Medicines::click(window, "ExportMedicines"); // nothing to export
            QCOMPARE(m.w.messages.shown, (QStringList{messages::NothingTaken, messages::ChooseMedicineEvent,
                                                      messages::NoMedicinesToExport}));
            QVERIFY(m.dialog.offers.isEmpty());
            m.dialog.typed = {Medicines::typed(Action::Single, u"=1+1"_qs, u"半片"_qs, QDate(2024, 3, 1)),
                              Medicines::typed(Action::Single, u"阿司匹林"_qs, u"1 片"_qs, QDate(2024, 3, 2))};
            Medicines::click(window, "SingleMedicine");
            Medicines::click(window, "SingleMedicine");
            QCOMPARE(window->historyTable().rowCount(), 2);
            // Deleted after a question; Ctrl+Z in the window brings it back.
            const_cast<QTableWidget &>(window->historyTable()).setCurrentCell(1, 0);
            m.w.messages.shown.clear();
            Medicines::click(window, "DeleteMedicineEvent");
            QCOMPARE(m.w.messages.shown, QStringList{u"您真的要删除 2024年03月01日 08:00 的“单次 =1+1 半片 每日1次”这一条吗？"_qs});
            QCOMPARE(window->historyTable().rowCount(), 1);
            window->windowHandle()->requestActivate();
            QVERIFY(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == window->windowHandle(); }, WindowWait));
            QWidget *history = const_cast<QTableWidget *>(&window->historyTable());
            history->setFocus();
            QTest::keyClick(history, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(m.w.messages.last(), messages::confirmUndo(u"Ann"_qs, u"删除用药记录"_qs));
            QCOMPARE(window->historyTable().rowCount(), 2);
            // The export: never over a data file; then the table, oldest first, formula-like texts guarded.
            Medicines::click(window, "ExportMedicines");
            QCOMPARE(m.w.messages.last(), messages::NotOverDataFile);
            Medicines::click(window, "ExportMedicines");
        });
        QCOMPARE(m.files.suggestions.last(), u"Ann-用药记录-20240320.csv"_qs);
        QCOMPARE(readBytes(csv), QByteArray("\xEF\xBB\xBF") + "时间,事件,药名,剂量,用法,备注\r\n"
                                                             "2024-03-01 08:00:00,单次,'=1+1,半片,每日1次,\r\n"
                                                             "2024-03-02 08:00:00,单次,阿司匹林,1 片,每日1次,\r\n");
        QCOMPARE(m.w.records(), womanEntries(2));
    }

    // The dialog itself: the time is now, changed to the minute; Enter in the
    // name box presses 确定; 停用 has no dose; a refusal leaves it open.
    void theDialogOffersNowAndTakesEnter()
    {
        QtMedicineDialog dialog;
        std::vector<Diary::TypedMedicine> offered;
        const QDateTime now(QDate(2024, 3, 20), QTime(20, 15, 30));
        onNextModal<QDialog>([&](QDialog *form) {
            QCOMPARE(form->windowTitle(), u"停用"_qs);
            QVERIFY(!form->findChild<QLineEdit *>(u"MedicineDose"_qs));
            auto *when = form->findChild<QDateTimeEdit *>(u"MedicineTime"_qs);
            QCOMPARE(when->maximumDateTime(), now);
            auto *name = form->findChild<QComboBox *>(u"MedicineName"_qs);
            QCOMPARE(name->count(), 2);
            QCOMPARE(name->currentText(), u"阿托伐他汀"_qs);
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
            name->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // refused: stays
            QVERIFY(form->isVisible());
            when->setDateTime(QDateTime(QDate(2024, 3, 19), QTime(7, 45, 30)));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        Diary::TypedMedicine initial{now, Action::Stop, u"阿托伐他汀"_qs, {}, {}, {}};
        dialog.ask({initial, {u"氨氯地平"_qs, u"阿托伐他汀"_qs}}, [&](const Diary::TypedMedicine &typed) {
            offered.push_back(typed);
            return offered.size() == 2;
        });
        QCOMPARE(offered.size(), size_t(2));
        QCOMPARE(offered[0].when, now); // untouched: to the second
        QCOMPARE(offered[1].when, QDateTime(QDate(2024, 3, 19), QTime(7, 45))); // changed: from its minute
        QCOMPARE(offered[1].name, u"阿托伐他汀"_qs);
        QCOMPARE(offered[1].action, Action::Stop);
    }
};

QTEST_MAIN(GuiMedicinesTest)
#include "tst_gui_medicines.moc"
