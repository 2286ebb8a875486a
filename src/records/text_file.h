#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>
#include <optional>

namespace velmora {

// The outcome of reading or saving a file. A read that stops part way is a
// failure, never a short success, so nobody rewrites a file from half of it.
struct FileResult
{
    bool ok = true;
    QString error; // what went wrong, for a message to the user

    static FileResult failure(QString error) { return {false, std::move(error)}; }
    explicit operator bool() const { return ok; }
};

// The whole content of a device, or nothing when a read fails on the way.
std::optional<QByteArray> readWholeDevice(QIODevice &device, QString *error);

// Opens, reads and closes the file; a missing or unreadable file is a failure.
std::optional<QByteArray> readWholeFile(const QString &path, QString *error);

// Writes content to a device; fails when the device takes less than all of it.
bool writeAll(QIODevice &device, QByteArrayView content);

using ContentWriter = std::function<bool(QIODevice &device)>;

// The one way any file of the program is rewritten: the new content goes to a
// temporary file beside the old one, which is replaced only once everything
// is written and flushed. On any failure the old file stays as it was.
// failAfterBytes >= 0 makes the write fail after that many bytes (tests).
FileResult saveFile(const QString &path, const ContentWriter &write, qint64 failAfterBytes = -1);

// Whether a file (not a folder) of that path exists; hidden and read-only files count.
bool fileExists(const QString &path);

} // namespace velmora
