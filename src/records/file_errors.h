#pragma once

#include <QFileDevice>
#include <QString>

namespace velmora {

// Why a file could not be read, written or removed, in words a person reads
// inside the program's Chinese messages. The toolkit's own error strings are
// English system texts, so the reason is chosen from the kind of failure and
// from what the file system shows about the path.
namespace reasons {
QString diskFull();
QString readOnlyFile(const QString &path);
QString isFolder(const QString &path);
QString fileCutShort(const QString &path);
} // namespace reasons

QString readFailureReason(QFileDevice::FileError kind, const QString &path);
QString writeFailureReason(QFileDevice::FileError kind, const QString &path);
QString removeFailureReason(const QString &path);

} // namespace velmora
