#pragma once

// The medicine diary in the context menu of the chart and of the column of
// records: the 用药记录 window (Ctrl+M) and the export of its history.

#include <QObject>

class QAction;

namespace velmora {

class FileDialogs;
class Form1;
class MedicineDialog;
class MessageBoxes;

class MedicineMenu : public QObject
{
    Q_OBJECT
public:
    MedicineMenu(Form1 &window, MedicineDialog &dialog, FileDialogs &files, MessageBoxes &messages);

    QAction *medicinesAction() const { return m_medicines; }
    QAction *exportAction() const { return m_export; }

    // "用药记录…": the window, modal, for the current user.
    void showMedicines();
    // "导出用药记录…".
    void exportMedicines();

private:
    Form1 &m_window;
    MedicineDialog &m_dialog;
    FileDialogs &m_files;
    MessageBoxes &m_messages;
    QAction *m_medicines = nullptr;
    QAction *m_export = nullptr;
};

} // namespace velmora
