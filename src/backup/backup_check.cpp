#include "backup/backup_check.h"

#include "archive/zip_archive.h"

#include <QSet>

namespace velmora {

namespace {

QString quoted(const QString &name)
{
    return QStringLiteral("“%1”").arg(name);
}

// Why an entry may not be taken whatever it holds; empty for a plain file
// of the archive's top folder.
QString unsafeEntry(const ZipEntryInfo &entry)
{
    const QString &name = entry.name;
    if (entry.isEncrypted)
        return QStringLiteral("%1有密码保护").arg(quoted(name));
    if (entry.isLink)
        return QStringLiteral("%1是一个链接").arg(quoted(name));
    if (name.contains(u'\\'))
        return QStringLiteral("%1的名字含有反斜杠，可能指向程序文件夹之外").arg(quoted(name));
    if (name.startsWith(u'/'))
        return QStringLiteral("%1是绝对路径，指向程序文件夹之外").arg(quoted(name));
    if (name.size() >= 2 && name[1] == u':')
        return QStringLiteral("%1带有驱动器号，指向程序文件夹之外").arg(quoted(name));
    if (name.split(u'/').contains(QStringLiteral("..")))
        return QStringLiteral("%1指向程序文件夹之外").arg(quoted(name));
    if (name.contains(u'/') || entry.isFolder)
        return QStringLiteral("%1位于子文件夹中，Velmora 的备份没有子文件夹").arg(quoted(name));
    if (name != ManifestName && !diaryFileNamed(name))
        return QStringLiteral("%1不是任何用户可能有的文件名").arg(quoted(name));
    return QString();
}

// The refusal of the archive as a whole, looking only at its directory.
QString unsafeArchive(const ZipReader &reader)
{
    if (qsizetype(reader.entries().size()) > backup_limits::Entries)
        return QStringLiteral("备份中的文件多于 %1 个，可能是恶意构造的文件").arg(backup_limits::Entries);
    QSet<QString> seen;
    for (const ZipEntryInfo &entry : reader.entries()) {
        if (const QString unsafe = unsafeEntry(entry); !unsafe.isEmpty())
            return unsafe;
        const QString folded = entry.name.toCaseFolded();
        if (seen.contains(folded))
            return QStringLiteral("备份中有两个同名的文件%1").arg(quoted(entry.name));
        seen.insert(folded);
    }
    if (reader.find([](const ZipEntryInfo &e) { return e.name == ManifestName; }) < 0)
        return QStringLiteral("备份中没有清单（%1），不是 Velmora 制作的备份").arg(ManifestName);
    return QString();
}

// The manifest's own refusal: names that are no files of a diary, sizes beyond the limits.
QString unsafeManifest(const Manifest &manifest)
{
    QSet<QString> seen;
    qint64 total = 0;
    for (const ManifestEntry &entry : manifest.files) {
        if (!diaryFileNamed(entry.name) || seen.contains(entry.name.toCaseFolded()))
            return QStringLiteral("清单中的%1不是日记的文件").arg(quoted(entry.name));
        seen.insert(entry.name.toCaseFolded());
        total += entry.size;
        if (entry.size > backup_limits::File || total > backup_limits::Total)
            return QStringLiteral("清单所列的文件大得不合理，可能是恶意构造的文件");
    }
    return QString();
}

class Checker
{
public:
    explicit Checker(QIODevice &device) : m_reader(device) {}

    BackupCheck run()
    {
        check();
        return std::move(m_check);
    }

private:
    void check()
    {
        if (!m_reader.isOpen())
            return refused(m_reader.error());
        if (const QString unsafe = unsafeArchive(m_reader); !unsafe.isEmpty())
            return refused(unsafe);
        if (!readManifest())
            return;
        for (const ManifestEntry &entry : m_check.manifest.files)
            if (!checkFile(entry))
                return;
        for (const ZipEntryInfo &entry : m_reader.entries())
            if (entry.name != ManifestName && !m_check.manifest.find(entry.name))
                damage(entry.name, QStringLiteral("清单中没有这个文件"));
        leaveOutUnlisted();
    }

    void refused(const QString &reason)
    {
        m_check.refusal = reason;
        m_check.files.clear();
        m_check.damaged.clear();
    }

    void damage(const QString &name, const QString &reason) { m_check.damaged.push_back({name, reason}); }

    bool readManifest()
    {
        const qsizetype index = m_reader.find([](const ZipEntryInfo &e) { return e.name == ManifestName; });
        QString error;
        const std::optional<QByteArray> text = m_reader.read(index, backup_limits::Manifest, &error);
        if (!text) {
            refused(QStringLiteral("清单无法读取（%1）").arg(error));
            return false;
        }
        std::optional<Manifest> manifest = velmora::readManifest(*text, &error);
        if (!manifest) {
            refused(error);
            return false;
        }
        m_check.manifest = std::move(*manifest);
        if (const QString unsafe = unsafeManifest(m_check.manifest); !unsafe.isEmpty()) {
            refused(unsafe);
            return false;
        }
        return true;
    }

    // False when the whole backup is refused.
    bool checkFile(const ManifestEntry &entry)
    {
        const qsizetype index = m_reader.find([&](const ZipEntryInfo &e) { return e.name == entry.name; });
        if (index < 0) {
            damage(entry.name, QStringLiteral("备份中缺少这个文件"));
            return true;
        }
        QString error;
        std::optional<QByteArray> content = m_reader.read(index, entry.size, &error);
        if (!content && m_reader.exceededLimit()) {
            refused(QStringLiteral("%1解压后比清单所说的大，可能是恶意构造的文件").arg(quoted(entry.name)));
            return false;
        }
        if (!content)
            damage(entry.name, error);
        else if (content->size() != entry.size)
            damage(entry.name, QStringLiteral("大小与清单不符"));
        else if (sha256Hex(*content) != entry.sha256)
            damage(entry.name, QStringLiteral("内容与清单不符"));
        else
            keep(entry, std::move(*content));
        return true;
    }

    void keep(const ManifestEntry &entry, QByteArray content)
    {
        const DiaryFile file = *diaryFileNamed(entry.name);
        const qsizetype count = countEntries(file.kind, content);
        if (count != entry.count) {
            damage(entry.name, QStringLiteral("读出 %1 %3，清单中是 %2 %3").arg(count).arg(entry.count).arg(entryUnit(file.kind)));
            return;
        }
        m_check.files.push_back({file, std::move(content), count});
    }

    // Without an intact user list nothing can be restored; files of users the
    // list does not have belong to nobody.
    void leaveOutUnlisted()
    {
        const CheckedFile *list = m_check.find(UserListFileName.toString());
        if (!list) {
            refused(QStringLiteral("备份中的用户列表 %1 缺失或已损坏").arg(UserListFileName));
            return;
        }
        const QStringList users = fileUsers(readUserNames(list->content));
        std::erase_if(m_check.files, [&](const CheckedFile &f) {
            if (f.file.isUserList() || users.contains(f.file.user))
                return false;
            damage(f.file.name, QStringLiteral("不在备份的用户列表中"));
            return true;
        });
    }

    ZipReader m_reader;
    BackupCheck m_check;
};

} // namespace

const CheckedFile *BackupCheck::find(const QString &name) const
{
    for (const CheckedFile &file : files)
        if (file.file.name == name)
            return &file;
    return nullptr;
}

QStringList BackupCheck::users() const
{
    const CheckedFile *list = find(UserListFileName.toString());
    return list ? fileUsers(readUserNames(list->content)) : QStringList();
}

QString BackupCheck::damagedText() const
{
    QStringList parts;
    for (const DamagedFile &file : damaged)
        parts << QStringLiteral("%1（%2）").arg(file.name, file.reason);
    return parts.join(u'、');
}

BackupCheck checkBackup(QIODevice &zip)
{
    return Checker(zip).run();
}

} // namespace velmora
