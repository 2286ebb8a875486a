#include "backup/manifest.h"

#include "backup/diary_files.h"

#include <QCryptographicHash>

namespace velmora {

namespace {

const QString Title = QStringLiteral("Velmora 日记备份清单");
const QString FormatKey = QStringLiteral("格式：");
const QString VersionKey = QStringLiteral("程序版本：");
const QString TimeKey = QStringLiteral("备份时间：");
const QString Heading = QStringLiteral("文件名\t字节数\tSHA-256\t内容");
const QString TimeFormat = QStringLiteral("yyyy年MM月dd日 HH:mm:ss");

// "125 条记录" for a file of records.
QString countText(const QString &name, qsizetype count)
{
    const std::optional<DiaryFile> file = diaryFileNamed(name);
    return QStringLiteral("%1 %2").arg(count).arg(entryUnit(file ? file->kind : std::nullopt));
}

bool isHexDigest(QStringView text)
{
    if (text.size() != 64)
        return false;
    for (QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    return true;
}

// A file's line: name, size, digest and count, separated by tabs.
std::optional<ManifestEntry> entryOfLine(QStringView line)
{
    const QList<QStringView> fields = line.split(u'\t');
    if (fields.size() != 4 || fields[0].isEmpty() || !isHexDigest(fields[2]))
        return std::nullopt;
    bool sized = false;
    bool counted = false;
    ManifestEntry entry;
    entry.name = fields[0].toString();
    entry.size = fields[1].toLongLong(&sized);
    entry.sha256 = fields[2].toLatin1();
    entry.count = fields[3].split(u' ').first().toLongLong(&counted);
    if (!sized || !counted || entry.size < 0 || entry.count < 0)
        return std::nullopt;
    return entry;
}

std::optional<Manifest> refuse(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

} // namespace

const ManifestEntry *Manifest::find(const QString &name) const
{
    for (const ManifestEntry &entry : files)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

QStringList Manifest::users() const
{
    QStringList users;
    for (const ManifestEntry &entry : files)
        if (const std::optional<DiaryFile> file = diaryFileNamed(entry.name); file && file->kind == UserFile::Records)
            users << file->user;
    return users;
}

QString programVersion()
{
    return QStringLiteral(VELMORA_VERSION);
}

QByteArray sha256Hex(QByteArrayView content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex();
}

ManifestEntry manifestEntry(const QString &name, QByteArrayView content)
{
    const std::optional<DiaryFile> file = diaryFileNamed(name);
    return {name, content.size(), sha256Hex(content), countEntries(file ? file->kind : std::nullopt, content)};
}

QByteArray manifestText(const Manifest &manifest)
{
    QStringList lines{Title,
                      FormatKey + QString::number(manifest.format),
                      VersionKey + manifest.version,
                      TimeKey + manifest.made.toString(TimeFormat),
                      QStringLiteral("用户（%1 位）：%2").arg(manifest.users().size()).arg(manifest.users().join(u'、')),
                      QString(),
                      Heading};
    for (const ManifestEntry &entry : manifest.files)
        lines << QStringLiteral("%1\t%2\t%3\t%4")
                     .arg(entry.name, QString::number(entry.size), QString::fromLatin1(entry.sha256),
                          countText(entry.name, entry.count)); // at once: a name may hold "%1"
    lines << QString()
          << QStringLiteral("本备份由 Velmora 制作。恢复之前，程序用上表每个文件的字节数、SHA-256 校验值和其中的条数核对备份，"
                            "不完整或被改动过的文件不会被恢复。")
          << QString();
    return "\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")).toUtf8();
}

std::optional<Manifest> readManifest(QByteArrayView text, QString *why)
{
    const QString notOurs = QStringLiteral("备份中的清单不是 Velmora 写的");
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    const QString decoded = QString::fromUtf8(text);
    QStringList lines = decoded.split(u'\n');
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    if (lines.size() < 7 || lines[0] != Title || !lines[1].startsWith(FormatKey))
        return refuse(why, notOurs);
    Manifest manifest;
    bool numbered = false;
    manifest.format = lines[1].mid(FormatKey.size()).toInt(&numbered);
    if (!numbered || manifest.format < 1)
        return refuse(why, notOurs);
    if (manifest.format > ManifestFormat)
        return refuse(why, QStringLiteral("这个备份由更新版本的 Velmora 制作，请先更新本程序"));
    if (!lines[2].startsWith(VersionKey) || !lines[3].startsWith(TimeKey))
        return refuse(why, notOurs);
    manifest.version = lines[2].mid(VersionKey.size());
    manifest.made = QDateTime::fromString(lines[3].mid(TimeKey.size()), TimeFormat);
    const qsizetype heading = lines.indexOf(Heading);
    if (heading < 0)
        return refuse(why, notOurs);
    for (qsizetype i = heading + 1; i < lines.size() && !lines[i].isEmpty(); ++i) {
        std::optional<ManifestEntry> entry = entryOfLine(lines[i]);
        if (!entry)
            return refuse(why, QStringLiteral("备份中的清单第 %1 行无法读取").arg(i + 1));
        manifest.files.push_back(std::move(*entry));
    }
    return manifest;
}

} // namespace velmora
