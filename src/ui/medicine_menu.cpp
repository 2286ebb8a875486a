#include "ui/medicine_menu.h"

#include "ui/form1.h"
#include "ui/medicine_window.h"
#include "widgets/context_menu.h"

#include <QAction>

namespace velmora {

MedicineMenu::MedicineMenu(Form1 &window, MedicineDialog &dialog, FileDialogs &files, MessageBoxes &messages)
    : QObject(&window.contextMenu()), m_window(window), m_dialog(dialog), m_files(files), m_messages(messages)
{
    setObjectName(QStringLiteral("MedicineMenu"));
    ContextMenu &menu = window.contextMenu();
    menu.addSeparator();
    m_medicines = menu.addAction(QStringLiteral("用药记录…"), QKeySequence(Qt::CTRL | Qt::Key_M), [this] { showMedicines(); });
    m_export = menu.addAction(QStringLiteral("导出用药记录…"), {}, [this] { exportMedicines(); });
    m_medicines->setObjectName(QStringLiteral("ShowMedicines"));
    m_export->setObjectName(QStringLiteral("ExportMedicinesMenu"));
    m_medicines->setToolTip(QStringLiteral("正在服用的药物和全部用药记录：开始服用、调整、停用、单次服用"));
    m_export->setToolTip(QStringLiteral("把当前用户的全部用药记录存为电子表格可以打开的 CSV 文件"));
}

void MedicineMenu::showMedicines()
{
    if (m_window.diary().refuseWithoutUser())
        return;
    MedicineWindow window(m_window, m_dialog, m_files, m_messages);
    window.exec();
}

void MedicineMenu::exportMedicines()
{
    exportMedicineHistory(m_window.diary(), m_files, m_messages);
}

} // namespace velmora
