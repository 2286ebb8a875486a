#include "records/text_file.h"

#include "records/file_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef Q_OS_WIN
#include <io.h>
#include <qt_windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace velmora {

namespace {

QString readErrorOf(const QIODevice &device)
{
    if (const auto *file = qobject_cast<const QFileDevice *>(&device))
        return readFailureReason(file->error(), file->fileName());
    return QStringLiteral("读取数据时出错");
}

// Passes writes on to the target and counts them; past a byte limit it fails
// as a full disk would.
class CountingDevice : public QIODevice
{
public:
    CountingDevice(QIODevice &target, qint64 limit) : m_target(target), m_limit(limit)
    {
        open(QIODevice::WriteOnly);
    }
    qint64 written() const { return m_written; }
    bool limitReached() const { return m_limitReached; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        qint64 allowed = size;
        if (m_limit >= 0) {
            allowed = qMin(size, m_limit - m_written);
            if (allowed <= 0) {
                m_limitReached = true;
                return -1;
            }
        }
        const qint64 done = m_target.write(data, allowed);
        if (done > 0)
            m_written += done;
        return done;
    }

private:
    QIODevice &m_target;
    qint64 m_limit;
    qint64 m_written = 0;
    bool m_limitReached = false;
};

// Where the new content must go: through a symbolic link to the file it names.
QString saveTarget(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

// Asks the system to put the written bytes on the disk itself; some file
// systems only report a full disk or a lost connection here.
bool syncToDisk(QFileDevice &file)
{
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0 || errno == EINVAL; // EINVAL: the file cannot be synced at all
#endif
}

// The temporary file a save writes: a plain file of our own under a unique
// name, closed before it replaces the old one (on Windows a file still open,
// also one the toolkit's temporary file keeps open, cannot be moved). Removed
// again unless it became the file.
class ScratchFile
{
public:
    explicit ScratchFile(const QString &target)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QString name = temporaryNameBeside(target);
            m_file.setFileName(name);
            if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                return;
            if (!QFileInfo::exists(name))
                return; // not a clash of names: the folder refuses new files
        }
    }
    ~ScratchFile()
    {
        if (!m_kept) {
            m_file.close();
            m_file.remove();
        }
    }
    QFile &file() { return m_file; }
    bool isOpen() const { return m_file.isOpen(); }
    void keep() { m_kept = true; }

private:
    QFile m_file;
    bool m_kept = false;
};

// What the old file was like, given to the new one: its permissions, and on
// Windows its hidden and system marks. A new file keeps what the system gave
// it (as any new file), unless it is to be its owner's alone.
void takeOverLooks(QFile &scratch, const QFileInfo &existing, NewFileAccess newFileAccess)
{
    if (!existing.exists()) {
        if (newFileAccess == NewFileAccess::OwnerOnly)
            scratch.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return;
    }
    scratch.setPermissions(existing.permissions());
#ifdef Q_OS_WIN
    const auto native = [](const QString &path) { return QDir::toNativeSeparators(path).toStdWString(); };
    const DWORD old = GetFileAttributesW(native(existing.filePath()).c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        SetFileAttributesW(native(scratch.fileName()).c_str(), old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
#endif
}

// Lets go of the file's pages in the system's cache (Linux), so that reading
// it back reads the disk; elsewhere the read may come from the cache.
void forgetCachedPages([[maybe_unused]] QFileDevice &file)
{
#ifdef Q_OS_LINUX
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_DONTNEED);
#endif
}

// What the check finds in the written file; empty when it holds what it must.
QString checkWritten(const QString &path, const WrittenCheck &check)
{
    QFile back(path);
    if (!back.open(QIODevice::ReadOnly))
        return readFailureReason(back.error(), path);
    return check(back);
}

enum class ReplaceFailure { None, Lasting, Passing };

// Replaces `to` by `from` in one step (the toolkit's own rename never replaces).
ReplaceFailure replaceOnce(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    if (MoveFileExW(reinterpret_cast<const wchar_t *>(source.utf16()), reinterpret_cast<const wchar_t *>(target.utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ReplaceFailure::None;
    // Another program has the file open: for a moment (a virus scanner, the
    // search indexer) or for as long as it shows it (a spreadsheet).
    const DWORD error = GetLastError();
    const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
    return held ? ReplaceFailure::Passing : ReplaceFailure::Lasting;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0
        ? ReplaceFailure::None
        : ReplaceFailure::Lasting;
#endif
}

bool replaceFile(const QString &from, const QString &to, const SaveFaults &faults)
{
    constexpr int Retries = 10;
    constexpr auto Pause = std::chrono::milliseconds(100);
    if (faults.failReplace)
        return false;
    for (int attempt = 0;; ++attempt) {
        const ReplaceFailure failure = replaceOnce(from, to);
        if (failure == ReplaceFailure::None)
            return true;
        if (failure == ReplaceFailure::Lasting || attempt == Retries)
            return false;
        if (faults.beforeRetry)
            faults.beforeRetry(attempt + 1);
        else
            std::this_thread::sleep_for(Pause);
    }
}

} // namespace

std::optional<QByteArray> readWholeDevice(QIODevice &device, QString *error)
{
    const auto fail = [&](const QString &reason) -> std::optional<QByteArray> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    QByteArray content;
    const qint64 expected = device.isSequential() ? 0 : device.size() - device.pos();
    if (expected > 0) {
        // Straight into the result, without a bounce buffer.
        content.resize(qsizetype(expected));
        qint64 done = 0;
        while (done < expected) {
            const qint64 got = device.read(content.data() + done, expected - done);
            if (got < 0)
                return fail(readErrorOf(device));
            if (got == 0)
                break;
            done += got;
        }
        if (done < expected) {
            const auto *file = qobject_cast<const QFileDevice *>(&device);
            return fail(reasons::fileCutShort(file ? file->fileName() : QString()));
        }
    }
    // What is left: all of a sequential device, or what a file gained meanwhile.
    char chunk[64 * 1024];
    qint64 got = 0;
    while ((got = device.read(chunk, sizeof chunk)) > 0)
        content.append(chunk, qsizetype(got));
    if (got < 0)
        return fail(readErrorOf(device));
    return content;
}

std::optional<QByteArray> readWholeFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = readFailureReason(file.error(), path);
        return std::nullopt;
    }
    return readWholeDevice(file, error);
}

bool writeAll(QIODevice &device, QByteArrayView content)
{
    qint64 done = 0;
    while (done < content.size()) {
        const qint64 written = device.write(content.data() + done, content.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

FileResult saveFile(const QString &path, const ContentWriter &write, const SaveFaults &faults,
                    NewFileAccess newFileAccess, const WrittenCheck &check)
{
    const QString target = saveTarget(path);
    const QFileInfo existing(target);
    if (existing.isDir())
        return FileResult::failure(reasons::isFolder(target));
    if (existing.exists() && !existing.isWritable())
        return FileResult::failure(reasons::readOnlyFile(target));

    ScratchFile scratch(target);
    QFile &file = scratch.file();
    if (!scratch.isOpen())
        return FileResult::failure(writeFailureReason(QFileDevice::OpenError, target));
    CountingDevice counted(file, faults.failAfterBytes);
    const bool written = write(counted);
    if (counted.limitReached())
        return FileResult::failure(reasons::diskFull());
    // Small writes wait in the toolkit's buffer: a full disk shows only when
    // they are flushed, so every byte is accounted for before the old file goes.
    if (!written || !file.flush() || file.error() != QFileDevice::NoError)
        return FileResult::failure(writeFailureReason(file.error(), target));
    if (file.size() != counted.written())
        return FileResult::failure(reasons::diskFull());
    if (!syncToDisk(file))
        return FileResult::failure(writeFailureReason(QFileDevice::WriteError, target));
    if (check)
        forgetCachedPages(file);
    file.close();
    if (file.error() != QFileDevice::NoError)
        return FileResult::failure(writeFailureReason(file.error(), target));
    if (check) {
        if (const QString problem = checkWritten(file.fileName(), check); !problem.isEmpty())
            return FileResult::failure(problem);
    }
    takeOverLooks(file, existing, newFileAccess);
    if (!replaceFile(file.fileName(), target, faults))
        return FileResult::failure(writeFailureReason(QFileDevice::RenameError, target));
    scratch.keep(); // it is the file now
    return {};
}

FileFingerprint FileFingerprint::of(QByteArrayView content)
{
    return {content.size(), qHashBits(content.data(), size_t(content.size()), 0)};
}

bool isTemporarySaveName(const QString &fileName)
{
    // Matched by hand: a regular expression would load and compile its engine
    // at every start-up for the one look at the data folder.
    constexpr qsizetype SuffixLength = 6;
    const qsizetype marker = fileName.size() - SuffixLength - TemporarySaveMarker.size();
    if (marker < 1 || QStringView(fileName).mid(marker, TemporarySaveMarker.size()) != TemporarySaveMarker)
        return false;
    const QStringView suffix = QStringView(fileName).right(SuffixLength);
    return std::all_of(suffix.begin(), suffix.end(), [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
    });
}

QString temporaryNameBeside(const QString &path)
{
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = path + TemporarySaveMarker;
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))]);
    return name;
}

QString freeTemporaryNameBeside(const QString &path)
{
    QString name;
    do
        name = temporaryNameBeside(path);
    while (QFileInfo::exists(name));
    return name;
}

bool removeFile(const QString &path)
{
    if (QFile::remove(path))
        return true;
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    return QFile::remove(path);
}

bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace velmora
