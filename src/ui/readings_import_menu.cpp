#include "ui/readings_import_menu.h"

#include "diary/messages.h"
#include "records/file_errors.h"
#include "ui/form1.h"
#include "widgets/context_menu.h"
#include "widgets/file_dialogs.h"

#include <QAction>
#include <QFile>

namespace velmora {

ReadingsImportMenu::ReadingsImportMenu(Form1 &window, FileDialogs &files, ReadingsImportDialogs &dialogs,
                                       MessageBoxes &messages, QAction *before)
    : QObject(&window.contextMenu()), m_window(window), m_files(files), m_dialogs(dialogs), m_messages(messages)
{
    setObjectName(QStringLiteral("ReadingsImportMenu"));
    ContextMenu &menu = window.contextMenu();
    if (!before)
        menu.addSeparator();
    m_import = menu.addAction(QStringLiteral("导入血压读数…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I),
                              [this] { importReadings(); }, before);
    m_import->setObjectName(QStringLiteral("ImportReadings"));
    m_import->setToolTip(QStringLiteral("把血压计App导出的表格、手机健康导出（export.zip）或其他表格中的血压读数加入当前用户"));
}

void ReadingsImportMenu::importReadings()
{
    if (m_window.diary().refuseWithoutUser())
        return;
    const QString path = m_files.openFileName(QStringLiteral("导入血压读数"),
                                              QStringLiteral("血压读数 (*.csv *.zip *.xml *.txt);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_messages.inform(messages::readingsRefused(readFailureReason(file.error(), path)));
        return;
    }
    m_window.changeDiary([&](Diary &diary, ChartStyle) { return diary.importReadings(file, m_dialogs); });
}

} // namespace velmora
