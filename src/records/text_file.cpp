#include "text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace velmora {

namespace {

// Passes writes on to the target until a byte limit, then fails.
class LimitedDevice : public QIODevice
{
public:
    LimitedDevice(QIODevice &target, qint64 limit) : m_target(target), m_limit(limit)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 room = m_limit - m_written;
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 written = m_target.write(data, qMin(size, room));
        if (written > 0)
            m_written += written;
        return written;
    }

private:
    QIODevice &m_target;
    qint64 m_limit;
    qint64 m_written = 0;
};

} // namespace

std::optional<QByteArray> readWholeDevice(QIODevice &device, QString *error)
{
    QByteArray content;
    const qint64 expected = device.isSequential() ? 0 : device.size() - device.pos();
    if (expected > 0) {
        // Straight into the result, without a bounce buffer.
        content.resize(qsizetype(expected));
        qint64 done = 0;
        while (done < expected) {
            const qint64 got = device.read(content.data() + done, expected - done);
            if (got < 0) {
                if (error)
                    *error = device.errorString();
                return std::nullopt;
            }
            if (got == 0)
                break;
            done += got;
        }
        content.resize(qsizetype(done));
        if (done == expected) {
            char probe[4096];
            qint64 got = 0;
            while ((got = device.read(probe, sizeof probe)) > 0) // the file grew meanwhile
                content.append(probe, qsizetype(got));
            if (got < 0) {
                if (error)
                    *error = device.errorString();
                return std::nullopt;
            }
        }
    }
    char chunk[64 * 1024];
    for (; expected <= 0;) {
        const qint64 got = device.read(chunk, sizeof chunk);
        if (got < 0) {
            if (error)
                *error = device.errorString();
            return std::nullopt;
        }
        if (got == 0)
            break;
        content.append(chunk, qsizetype(got));
    }
    if (!device.isSequential() && expected > 0 && content.size() < expected) {
        if (error)
            *error = QStringLiteral("the file ended before its reported size");
        return std::nullopt;
    }
    return content;
}

std::optional<QByteArray> readWholeFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
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

FileResult saveFile(const QString &path, const ContentWriter &write, qint64 failAfterBytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileResult::failure(file.errorString());
    bool written = false;
    if (failAfterBytes >= 0) {
        LimitedDevice limited(file, failAfterBytes);
        written = write(limited);
    } else {
        written = write(file);
    }
    if (!written) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                                      : QStringLiteral("No space left on device");
        file.cancelWriting();
        file.commit(); // discards the temporary file
        return FileResult::failure(reason);
    }
    if (!file.commit())
        return FileResult::failure(file.errorString());
    return {};
}

bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace velmora
