#include "widgets/export_file.h"

#include "diary/messages.h"
#include "diary/seams.h"
#include "records/text_file.h"
#include "widgets/file_dialogs.h"

#include <QFileInfo>

namespace velmora {

bool isProgramDataFile(const QString &path, const QString &folder)
{
    const QFileInfo target(path);
    if (target.suffix().compare(QStringLiteral("dat"), Qt::CaseInsensitive) != 0)
        return false;
    const QString programFolder = QFileInfo(folder).canonicalFilePath();
    const QString targetFolder = QFileInfo(target.absolutePath()).canonicalFilePath();
    return !programFolder.isEmpty() && programFolder == targetFolder;
}

bool exportFile(FileDialogs &dialogs, MessageBoxes &messages, const ExportTarget &target, const QByteArray &content)
{
    const QString path = dialogs.saveFileName(target.caption, target.suggestedName, target.filter);
    if (path.isEmpty())
        return false;
    if (isProgramDataFile(path, target.dataFolder)) {
        messages.inform(messages::NotOverDataFile);
        return false;
    }
    const FileResult saved =
        saveFile(path, [&](QIODevice &device) { return writeAll(device, content); }, {}, NewFileAccess::AsAnyNewFile);
    if (!saved)
        messages.inform(messages::exportFailed(saved.error));
    return bool(saved);
}

} // namespace velmora
