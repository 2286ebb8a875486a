#pragma once

// The manifest of a backup, "清单.txt": a text for a person and for the
// restore alike. It says which program made the backup and when, and for
// every file its size, its SHA-256 and how many entries the program's reader
// finds in it, so that a restore can tell a complete backup from a damaged
// one before it changes anything.
//
// It is UTF-8 with a byte order mark and CR LF line ends, unlike the diary's
// own GBK files: the zip stores the files' names in UTF-8, and the manifest
// names them in the same bytes; it is read by people on any system (Notepad
// on a Windows of any language recognises the mark, a GBK file shows as
// garbage outside a Chinese Windows); and every name it lists can be written
// in it, whatever the name.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora {

inline const QString ManifestName = QStringLiteral("清单.txt");

struct ManifestEntry
{
    QString name;       // the file's name in the backup and in the program folder
    qint64 size = 0;    // bytes
    QByteArray sha256;  // 64 lower-case hexadecimal digits
    qsizetype count = 0; // entries, as countEntries() finds them

    bool operator==(const ManifestEntry &) const = default;
};

struct Manifest
{
    int format = 1;          // a later program may write a later format
    QString version;         // of the program that made it
    QDateTime made;          // the local time it was made, to the second
    std::vector<ManifestEntry> files;

    const ManifestEntry *find(const QString &name) const;
    // The users whose record files it lists, in its order.
    QStringList users() const;
    bool operator==(const Manifest &) const = default;
};

// The format this program writes and reads.
inline constexpr int ManifestFormat = 1;

// The program's version, as the manifest names it.
QString programVersion();

QByteArray sha256Hex(QByteArrayView content);
// A manifest line for a file of the diary with this content.
ManifestEntry manifestEntry(const QString &name, QByteArrayView content);

QByteArray manifestText(const Manifest &manifest);

// A manifest read back; nothing, with the reason, for a text that is not a
// Velmora manifest or not one of a format this program knows.
std::optional<Manifest> readManifest(QByteArrayView text, QString *why);

} // namespace velmora
