#include "ui/history_menu.h"

#include "diary/messages.h"
#include "records/text_file.h"
#include "ui/form1.h"
#include "ui/past_record_dialog.h"
#include "widgets/context_menu.h"
#include "widgets/file_dialogs.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

namespace velmora {

HistoryMenu::HistoryMenu(Form1 &window, PastRecordDialog &pastRecords, FileDialogs &dialogs, MessageBoxes &messages)
    : QObject(&window.contextMenu()), m_window(window), m_pastRecords(pastRecords), m_dialogs(dialogs),
      m_messages(messages)
{
    setObjectName(QStringLiteral("HistoryMenu"));
    ContextMenu &menu = window.contextMenu();
    menu.addSeparator();
    m_pastRecord = menu.addAction(QStringLiteral("补录历史记录…"), {}, [this] { addPastRecord(); });
    m_delete = menu.addRecordAction(QStringLiteral("删除此条记录…"), [this](int label) { deleteRecord(label); });
    m_undo = menu.addAction(QStringLiteral("撤销上一次修改"), QKeySequence(Qt::CTRL | Qt::Key_Z),
                            [this] { undoLastChange(); });
    m_import = menu.addAction(QStringLiteral("导入记录表格…"), {}, [this] { importRecords(); });
    m_pastRecord->setObjectName(QStringLiteral("AddPastRecord"));
    m_delete->setObjectName(QStringLiteral("DeleteRecord"));
    m_undo->setObjectName(QStringLiteral("UndoLastChange"));
    m_import->setObjectName(QStringLiteral("ImportRecords"));
    m_pastRecord->setToolTip(QStringLiteral("把以前量得的数值连同当时的日期和时间存入记录"));
    m_delete->setToolTip(QStringLiteral("从记录中删除这一条"));
    m_undo->setToolTip(QStringLiteral("撤销本次运行中最后一次存储、修改、补录、删除或导入"));
    m_import->setToolTip(QStringLiteral("把导出的记录表格（CSV）中没有的记录加入当前用户"));
    // The window's text boxes keep Ctrl+Z for their own typing; see eventFilter.
    for (QLineEdit *box : window.findChildren<QLineEdit *>())
        box->installEventFilter(this);
}

void HistoryMenu::addPastRecord()
{
    if (m_window.diary().refuseWithoutUser())
        return;
    m_pastRecords.ask(m_window.diary().now(), [this](const QDateTime &when, const EntryTexts &texts) {
        return m_window
            .changeDiary([&](Diary &diary, ChartStyle style) { return diary.addPastRecord(when, texts, style); })
            .saved();
    });
}

void HistoryMenu::deleteRecord(int label)
{
    m_window.changeDiary([label](Diary &diary, ChartStyle style) { return diary.deleteRecord(label, style); });
}

void HistoryMenu::undoLastChange()
{
    m_window.changeDiary([](Diary &diary, ChartStyle style) { return diary.undoLastChange(style); });
}

void HistoryMenu::importRecords()
{
    if (m_window.diary().refuseWithoutUser())
        return;
    const QString path = m_dialogs.openFileName(QStringLiteral("导入记录表格"), QStringLiteral("CSV 表格 (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<QByteArray> table = readWholeFile(path, &error);
    if (!table) {
        m_messages.inform(messages::tableUnreadable(error));
        return;
    }
    m_window.changeDiary([&](Diary &diary, ChartStyle style) { return diary.importRecords(*table, style); });
}

// Ctrl+Z in a text box of the window undoes the typing there while there is
// any to undo; after that, or in a box with nothing typed, it undoes the last
// change of the diary. The box would take the key in either case, so it is
// not offered the shortcut when it has nothing to undo.
bool HistoryMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo)) {
        const auto *box = static_cast<QLineEdit *>(watched);
        if (!box->isUndoAvailable()) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora
