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
    QString error;              // what went wrong, for a message to the user
    bool changedOutside = false; // the file no longer holds what was read: nothing was written

    static FileResult failure(QString error) { return {false, std::move(error), false}; }
    explicit operator bool() const { return ok; }
};

// What a file held when it was read, to tell later whether anyone has changed it since.
struct FileFingerprint
{
    qint64 size = -1; // -1: nothing was read
    size_t hash = 0;

    static FileFingerprint of(QByteArrayView content);
    bool operator==(const FileFingerprint &) const = default;
};

// The whole content of a device, or nothing when a read fails on the way.
std::optional<QByteArray> readWholeDevice(QIODevice &device, QString *error);

// Opens, reads and closes the file; a missing or unreadable file is a failure.
std::optional<QByteArray> readWholeFile(const QString &path, QString *error);

// Writes content to a device; fails when the device takes less than all of it.
bool writeAll(QIODevice &device, QByteArrayView content);

using ContentWriter = std::function<bool(QIODevice &device)>;

// Failures a test can inject into a save.
struct SaveFaults
{
    qint64 failAfterBytes = -1;                   // >= 0: the write fails after that many bytes, as on a full disk
    bool failReplace = false;                     // the final replace fails, as for a file held open
    std::function<void(int attempt)> beforeRetry; // called before each retry of the final replace
};

// The one way any file of the program is rewritten: the new content goes to a
// temporary file beside the old one ("<file>.velmora-tmp-XXXXXX"), which
// replaces it only once every byte is on disk. On any failure the old file
// stays as it was, byte for byte, and the temporary file is removed. A file
// reached through a symbolic link is replaced where the link points. A file
// that another program holds open (a spreadsheet showing a record file) cannot
// be replaced on Windows: after brief retries, meant for a virus scanner's or
// an indexer's look at the file, the save fails and says so.
// A file that exists keeps its permissions; a new one is readable by its
// owner only, or, for files made to be handed on, as the system makes any new
// file (read and write for all, less the process's umask).
//
// A check, when given, reads the temporary file back once it is on disk and
// closed (open for reading, at its start) and returns why it is not what it
// must be, or an empty text; the old file is replaced only after an empty
// one, and the save fails with that reason otherwise. On Linux the written
// pages are first dropped from the system's cache, so the check reads what
// the disk itself gives back.
enum class NewFileAccess { OwnerOnly, AsAnyNewFile };
using WrittenCheck = std::function<QString(QIODevice &written)>;
FileResult saveFile(const QString &path, const ContentWriter &write, const SaveFaults &faults = {},
                    NewFileAccess newFileAccess = NewFileAccess::OwnerOnly, const WrittenCheck &check = {});

// What a save cut short by a crash can leave beside its file.
inline const QString TemporarySaveMarker = QStringLiteral(".velmora-tmp-");
bool isTemporarySaveName(const QString &fileName);
// A name of that form beside `path`, with a random ending (it may be taken).
QString temporaryNameBeside(const QString &path);
// One that no file has yet: where a file is put aside for a moment, or
// written before it takes its place. Start-up removes what a crash leaves.
QString freeTemporaryNameBeside(const QString &path);

// Removes a file, also one marked read-only (the person asked for it to go).
bool removeFile(const QString &path);

// Whether a file (not a folder) of that path exists; hidden and read-only files count.
bool fileExists(const QString &path);

} // namespace velmora
