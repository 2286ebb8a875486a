#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

class FileDialogs;
class MessageBoxes;

// Whether `path` names one of the program's own data files (a ".dat" in any
// letter case) in the program folder `folder`: never the target of an export.
bool isProgramDataFile(const QString &path, const QString &folder);

struct ExportTarget
{
    QString caption;       // of the save dialog: "导出用药记录"
    QString suggestedName; // "Ann-用药记录-20240320.csv"
    QString filter;        // "CSV 表格 (*.csv)"
    QString dataFolder;    // the program folder, whose data files are refused
};

// An export made to be handed on: the save dialog chooses the file, the one
// save routine writes it with the permissions any new file gets. A data file
// of the program is refused and a failed save is told, each by a message.
// True when written.
bool exportFile(FileDialogs &dialogs, MessageBoxes &messages, const ExportTarget &target, const QByteArray &content);

} // namespace velmora
