#pragma once

// Zip archives, read and written with libzip: the phone's health export, the
// diary's backups. Everything here works on devices and bytes, never on the
// program's own files; what an archive holds is never trusted: every entry is
// read with a limit counted as its bytes come out, whatever sizes it declares.

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct zip;

namespace velmora {

struct ZipEntryInfo
{
    QString name;              // as stored: UTF-8 when so marked or valid, else the old DOS code page
    qint64 size = 0;           // uncompressed, as the archive declares it
    qint64 compressedSize = 0; // as the archive declares it
    bool isFolder = false;     // a name ending in "/"
    bool isLink = false;       // a symbolic link made on a Unix system
    bool isEncrypted = false;
};

// Reads an archive from a device open for reading, which must outlive the reader.
class ZipReader
{
public:
    explicit ZipReader(QIODevice &device);
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    bool isOpen() const { return m_archive != nullptr; }
    const QString &error() const { return m_error; } // why it could not be opened, in words for a person
    const std::vector<ZipEntryInfo> &entries() const { return m_entries; }
    // The index of the first entry that matches, or -1.
    qsizetype find(const std::function<bool(const ZipEntryInfo &)> &matches) const;

    // Passes the entry's content to `take` piece by piece as it is inflated;
    // `take` returns false to stop. Fails (with the reason) when the entry
    // gives more than `limit` bytes, is damaged or cut off, or was stopped.
    bool stream(qsizetype index, qint64 limit, const std::function<bool(QByteArrayView)> &take, QString *error);
    // Whether the last entry read failed for going beyond its limit (a zip
    // bomb, or sizes that lie) rather than for damage.
    bool exceededLimit() const { return m_exceeded; }
    // The whole content of an entry, on the same conditions.
    std::optional<QByteArray> read(qsizetype index, qint64 limit, QString *error);

private:
    struct Source;
    std::unique_ptr<Source> m_source;
    ::zip *m_archive = nullptr;
    std::vector<ZipEntryInfo> m_entries;
    QString m_error;
    bool m_exceeded = false;
};

struct ZipItem
{
    QString name;       // stored as UTF-8 and marked so (Windows' own zip folders then show the Chinese)
    QByteArray content; // deflated
    QDateTime modified; // the entry's time, as the local clock shows it
};

// A new archive holding these files in this order; nothing when it cannot be made.
std::optional<QByteArray> zipArchive(const std::vector<ZipItem> &items, QString *error);

} // namespace velmora
