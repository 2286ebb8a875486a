// 导入血压读数… through the real window and its real dialogs: the menu entry
// and its shortcut, the columns chosen in their dialog from the keyboard
// after the first rows, the summary's buttons, the progress with 取消.

#include "gui_support.h"
#include "ui/readings_import_dialogs.h"
#include "ui/readings_import_menu.h"
#include "ui/translations.h"
#include "widgets/context_menu.h"

#include <QAccessible>
#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTableWidget>

using namespace velmora;
using namespace velmora::test;

namespace {

using Answer = ReadingsImportDialogs::Answer;

const QByteArray OtherTable = "Messzeit,Oben,Unten,Puls,Kommentar\r\n21.11.2024 07:30,135,85,70,\r\n"
                              "03.04.2024 08:00,130,82,68,Arzt\r\n";

struct Importing
{
    ScriptedFileDialogs files; // outlive the window, which uses them
    QtReadingsImportDialogs dialogs;
    Window w{"Ann\r\n"};
    ReadingsImportMenu *menu = nullptr;

    Importing()
    {
        w.now = QDateTime(QDate(2025, 2, 1), QTime(9, 0));
        menu = new ReadingsImportMenu(*w.form, files, dialogs, w.messages);
        w.startWithAnn(QByteArray(), false);
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get(), WindowWait));
    }
    QString file(const QByteArray &bytes)
    {
        const QString path = w.dir.filePath(u"in.csv"_qs);
        writeBytes(path, bytes);
        return path;
    }
    QByteArray bp() const { return w.userFile(UserFile::BloodPressure); }
};

// Every control of a dialog that takes the focus has a name for screen
// readers (a table's cells, which are no controls, read as their texts).
QStringList nameless(QWidget *dialog)
{
    QStringList found;
    std::function<void(QAccessibleInterface *)> visit = [&](QAccessibleInterface *node) {
        if (node->object() && node->state().focusable && node->text(QAccessible::Name).isEmpty())
            found << node->object()->metaObject()->className();
        for (int i = 0; i < node->childCount(); ++i)
            visit(node->child(i));
    };
    visit(QAccessible::queryAccessibleInterface(dialog));
    return found;
}

void key(QWidget *dialog, Qt::Key k, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog, k, modifiers);
}

} // namespace

class GuiReadingsImportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installQtTranslation(); }

    // Ctrl+Shift+I, the file, the columns chosen with Alt keys and arrows, 导入 with Enter.
    void anUnknownTableThroughTheKeyboard()
    {
        Importing r;
        QCOMPARE(r.menu->importAction()->text(), u"导入血压读数…"_qs);
        QCOMPARE(r.w.form->contextMenu().menu()->actions().constLast(), r.menu->importAction());
        r.files.paths = {r.file(OtherTable)};
        QString summary;
        onNextModal<QDialog>([&](QDialog *columns) {
            QCOMPARE(columns->windowTitle(), u"选择血压读数的列"_qs);
            auto *preview = columns->findChild<QTableWidget *>(u"ColumnPreview"_qs);
            QCOMPARE(preview->rowCount(), 2);
            QCOMPARE(preview->horizontalHeaderItem(0)->text(), u"第 1 列：Messzeit"_qs);
            QCOMPARE(preview->item(1, 4)->text(), u"Arzt"_qs);
            QCOMPARE(nameless(columns), QStringList());
            auto *ok = columns->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            QVERIFY(!ok->isEnabled()); // no pressures chosen yet
            QCOMPARE(columns->findChild<QComboBox *>(u"ColumnDate"_qs)->currentIndex(), 1); // found by its cells
            QCOMPARE(columns->findChild<QComboBox *>(u"ColumnDateOrder"_qs)->currentText(), u"日月年"_qs);
            QVERIFY(QTest::qWaitForWindowActive(columns, WindowWait));
            for (auto [alt, downs] : {std::pair(Qt::Key_S, 2), std::pair(Qt::Key_I, 3), std::pair(Qt::Key_P, 4)}) {
                key(columns, alt, Qt::AltModifier);
                for (int i = 0; i < downs; ++i)
                    key(columns, Qt::Key_Down);
            }
            QVERIFY(ok->isEnabled());
            onNextModal<QDialog>([&](QDialog *confirm) {
                QVERIFY(QTest::qWaitForWindowActive(confirm, WindowWait));
                summary = confirm->findChild<QPlainTextEdit *>(u"ImportSummary"_qs)->toPlainText();
                QCOMPARE(nameless(confirm), QStringList());
                QCOMPARE(QApplication::focusWidget()->objectName(), u"ImportButton"_qs);
                key(confirm, Qt::Key_Return);
            });
            key(columns, Qt::Key_Return);
        });
        QTest::keyClick(r.w.form.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(r.files.captions, QStringList{u"导入血压读数"_qs});
        QVERIFY(summary.startsWith(u"表格（按所选的列读取）中有 2 条血压读数"_qs));
        QCOMPARE(r.w.messages.shown, QStringList{u"已导入 2 条血压读数。"_qs});
        QCOMPARE(r.bp(), g(u"时间\t收缩压\t舒张压\t脉搏\t来源\t备注\r\n20240403080000\t130\t82\t68\t表格导入\t\r\n"
                           "20241121073000\t135\t85\t70\t表格导入\t\r\n"));
    }

    // The summary's buttons: 导入 only when there is something to add; Esc is 取消.
    void theSummaryAnswers_data()
    {
        QTest::addColumn<bool>("canImport");
        QTest::addColumn<bool>("canChoose");
        QTest::addColumn<QString>("press"); // a button's name, or "Esc"
        QTest::addColumn<int>("answer");
        QTest::newRow("导入") << true << false << "ImportButton" << int(Answer::Import);
        QTest::newRow("重新选择列") << true << true << "ChooseColumnsButton" << int(Answer::ChooseColumns);
        QTest::newRow("Esc") << true << true << "Esc" << int(Answer::Cancel);
        QTest::newRow("nothing to import") << false << true << "CancelButton" << int(Answer::Cancel);
    }

    void theSummaryAnswers()
    {
        QFETCH(bool, canImport);
        QFETCH(bool, canChoose);
        QFETCH(QString, press);
        QtReadingsImportDialogs dialogs;
        QStringList buttons;
        onNextModal<QDialog>([&](QDialog *confirm) {
            for (QPushButton *button : confirm->findChildren<QPushButton *>())
                buttons << button->text();
            if (press == u"Esc")
                QTest::keyClick(confirm, Qt::Key_Escape);
            else
                confirm->findChild<QPushButton *>(press)->click();
        });
        QTEST(int(dialogs.confirm(u"摘要"_qs, canImport, canChoose)), "answer");
        QCOMPARE(buttons.contains(u"导入(&I)"_qs), canImport);
        QCOMPARE(buttons.contains(u"重新选择列(&C)…"_qs), canChoose);
    }

    // Among the entries of home blood pressure the entry stands before the one it is given.
    void theEntryStandsBeforeTheOneGiven()
    {
        ScriptedFileDialogs files;
        QtReadingsImportDialogs dialogs;
        Window w{"Ann\r\n"};
        ContextMenu &menu = w.form->contextMenu();
        QAction *report = menu.addAction(u"家庭血压报告…"_qs, {}, [] {});
        QAction *exports = menu.addAction(u"导出血压读数…"_qs, {}, [] {});
        ReadingsImportMenu import(*w.form, files, dialogs, w.messages, exports);
        const QList<QAction *> entries = menu.menu()->actions();
        QCOMPARE(entries.mid(entries.indexOf(report), 3), (QList<QAction *>{report, import.importAction(), exports}));
    }

    void theProgressCanBeCancelled()
    {
        QWidget parent;
        parent.show();
        QtReadingsImportDialogs dialogs(&parent);
        QVERIFY(dialogs.progress(10, 100));
        auto *progress = parent.findChild<QProgressDialog *>(u"ImportProgress"_qs);
        QCOMPARE(progress->labelText(), u"正在读取手机健康导出…"_qs);
        progress->findChild<QPushButton *>()->click(); // 取消
        QVERIFY(!dialogs.progress(20, 100));
        dialogs.endProgress();
        QVERIFY(!parent.findChild<QProgressDialog *>());
    }
};

QTEST_MAIN(GuiReadingsImportTest)
#include "tst_gui_readings_import.moc"
