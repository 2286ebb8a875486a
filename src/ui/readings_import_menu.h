#pragma once

// 导入血压读数… (Ctrl+Shift+I) in the context menu of the chart and of the
// column of records: a file chosen, then the diary's import with its dialogs.
// The entry stands among the other entries of home blood pressure, before
// `before`; without it, in a group of its own at the end of the menu.

#include <QObject>

class QAction;

namespace velmora {

class FileDialogs;
class Form1;
class MessageBoxes;
class ReadingsImportDialogs;

class ReadingsImportMenu : public QObject
{
    Q_OBJECT
public:
    ReadingsImportMenu(Form1 &window, FileDialogs &files, ReadingsImportDialogs &dialogs, MessageBoxes &messages,
                       QAction *before = nullptr);

    QAction *importAction() const { return m_import; }
    void importReadings();

private:
    Form1 &m_window;
    FileDialogs &m_files;
    ReadingsImportDialogs &m_dialogs;
    MessageBoxes &m_messages;
    QAction *m_import = nullptr;
};

} // namespace velmora
