#pragma once

// The history of the diary in the context menu of the chart and of the column
// of records: a measurement taken earlier, one record deleted, the last change
// undone and a record table brought in.

#include <QObject>

class QAction;
class QLineEdit;

namespace velmora {

class FileDialogs;
class Form1;
class MessageBoxes;
class PastRecordDialog;

class HistoryMenu : public QObject
{
    Q_OBJECT
public:
    HistoryMenu(Form1 &window, PastRecordDialog &pastRecords, FileDialogs &dialogs, MessageBoxes &messages);

    QAction *pastRecordAction() const { return m_pastRecord; }
    QAction *deleteAction() const { return m_delete; }
    QAction *undoAction() const { return m_undo; }
    QAction *importAction() const { return m_import; }

    void addPastRecord();
    void deleteRecord(int label);
    void undoLastChange();
    void importRecords();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Form1 &m_window;
    PastRecordDialog &m_pastRecords;
    FileDialogs &m_dialogs;
    MessageBoxes &m_messages;
    QAction *m_pastRecord = nullptr;
    QAction *m_delete = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_import = nullptr;
};

} // namespace velmora
