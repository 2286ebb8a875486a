#include "text_file.h"

#include "file_errors.h"

#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <cerrno>
#include <sys/stat.h>
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

// Replaces `to` by `from` in one step (the toolkit's own rename never replaces).
bool replaceFile(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(QFile(from).filesystemFileName(), QFile(to).filesystemFileName(), error);
    return !error;
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

namespace {

// The temporary file is made readable by its owner only; a file to be handed
// on gets what open() gives a new file instead.
void grantNewFilePermissions(QFileDevice &file)
{
#ifdef Q_OS_UNIX
    const mode_t mask = ::umask(0); // reading the umask means setting it
    ::umask(mask);
    ::fchmod(file.handle(), 0666 & ~mask);
#else
    Q_UNUSED(file); // elsewhere the temporary file is not restricted
#endif
}

} // namespace

FileResult saveFile(const QString &path, const ContentWriter &write, qint64 failAfterBytes,
                    NewFileAccess newFileAccess)
{
    const QString target = saveTarget(path);
    const QFileInfo existing(target);
    if (existing.isDir())
        return FileResult::failure(reasons::isFolder(target));
    if (existing.exists() && !existing.isWritable())
        return FileResult::failure(reasons::readOnlyFile(target));

    QTemporaryFile scratch(target + TemporarySaveMarker + QStringLiteral("XXXXXX"));
    if (!scratch.open())
        return FileResult::failure(writeFailureReason(QFileDevice::OpenError, target));
    CountingDevice counted(scratch, failAfterBytes);
    const bool written = write(counted);
    if (counted.limitReached())
        return FileResult::failure(reasons::diskFull());
    // Small writes wait in the toolkit's buffer: a full disk shows only when
    // they are flushed, so every byte is accounted for before the old file goes.
    // On failure the scratch file removes itself.
    if (!written || !scratch.flush() || scratch.error() != QFileDevice::NoError)
        return FileResult::failure(writeFailureReason(scratch.error(), target));
    if (scratch.size() != counted.written())
        return FileResult::failure(reasons::diskFull());
    if (!syncToDisk(scratch))
        return FileResult::failure(writeFailureReason(QFileDevice::WriteError, target));
    if (existing.exists())
        scratch.setPermissions(existing.permissions());
    else if (newFileAccess == NewFileAccess::AsAnyNewFile)
        grantNewFilePermissions(scratch);
    scratch.close();
    if (scratch.error() != QFileDevice::NoError)
        return FileResult::failure(writeFailureReason(scratch.error(), target));
    if (!replaceFile(scratch.fileName(), target))
        return FileResult::failure(writeFailureReason(QFileDevice::RenameError, target));
    scratch.setAutoRemove(false); // it is the file now
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

bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace velmora
