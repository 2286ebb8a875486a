#pragma once

// 用药记录: what the current user takes now and every event of the medicine
// diary, newest first, with the blood pressure before and after each change;
// buttons for each kind of event, a deletion, the export and undo.

#include "medicines/medicine_file.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace velmora {

class Diary;
class FileDialogs;
class Form1;
class MedicineDialog;
class MessageBoxes;

class MedicineWindow : public QDialog
{
    Q_OBJECT
public:
    MedicineWindow(Form1 &window, MedicineDialog &dialog, FileDialogs &files, MessageBoxes &messages);

    // Shows the file as it is now.
    void refresh();

    void startMedicine();
    void adjustMedicine();
    void stopMedicine();
    void takeSingle();
    void deleteSelected();
    void exportHistory();
    void undoLastChange();

    const QTableWidget &planTable() const { return *m_plan; }
    const QTableWidget &historyTable() const { return *m_history; }

private:
    void ask(MedicineAction action);
    // The name of the medicine picked in either table; empty for none.
    QString pickedName() const;

    Form1 &m_window;
    MedicineDialog &m_dialog;
    FileDialogs &m_files;
    MessageBoxes &m_messages;
    QLabel *m_planCaption = nullptr;
    QTableWidget *m_plan = nullptr;
    QTableWidget *m_history = nullptr;
    MedicineFile m_shown; // what the tables show
};

// "导出用药记录…": the current user's events as a CSV table.
void exportMedicineHistory(const Diary &diary, FileDialogs &files, MessageBoxes &messages);

} // namespace velmora
