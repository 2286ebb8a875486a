#include "backup/backup_names.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace velmora {

namespace {

const QString Prefix = QStringLiteral("Velmora备份-");
const QString Suffix = QStringLiteral(".zip");
const QString BeforeRestore = QStringLiteral("-恢复前");
const QString DayFormat = QStringLiteral("yyyy年MM月dd日");
constexpr qsizetype DayLength = 11; // "2026年12月08日"

// The name without a "-2", "-3" ... that a free name added.
QStringView withoutNumber(QStringView name)
{
    qsizetype end = name.size();
    while (end > 0 && name[end - 1].isDigit() && name[end - 1].unicode() < 128)
        --end;
    if (end < name.size() && end > 0 && name[end - 1] == u'-')
        return name.first(end - 1);
    return name;
}

} // namespace

QString backupFileName(const QStringList &users, const QDate &day, BackupOccasion occasion)
{
    constexpr int MostNamed = 3;
    constexpr int LongestNames = 30;
    QString who = users.join(u'、');
    if (users.size() > MostNamed || who.size() > LongestNames)
        who = QStringLiteral("全部");
    if (users.isEmpty())
        who = QStringLiteral("无用户");
    return Prefix + who + u'-' + day.toString(DayFormat)
           + (occasion == BackupOccasion::BeforeRestore ? BeforeRestore : QString()) + Suffix;
}

QString freeBackupPath(const QString &folder, const QString &fileName)
{
    const QDir dir(folder);
    QString path = dir.filePath(fileName);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QString(fileName).insert(fileName.size() - Suffix.size(), QStringLiteral("-%1").arg(n)));
    return path;
}

std::optional<QDate> backupDay(const QString &fileName)
{
    if (!fileName.startsWith(Prefix) || !fileName.endsWith(Suffix))
        return std::nullopt;
    QStringView name = withoutNumber(QStringView(fileName).chopped(Suffix.size()));
    if (name.endsWith(BeforeRestore))
        name.chop(BeforeRestore.size());
    if (name.size() < Prefix.size() + 2 + DayLength || name[name.size() - DayLength - 1] != u'-')
        return std::nullopt;
    const QDate day = QDate::fromString(name.last(DayLength).toString(), DayFormat);
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

std::vector<BackupOnDisk> backupsIn(const QString &folder)
{
    std::vector<BackupOnDisk> found;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo info = entries.fileInfo();
        if (const std::optional<QDate> day = backupDay(info.fileName()))
            found.push_back({info.filePath(), *day, info.lastModified(), info.size()});
    }
    std::sort(found.begin(), found.end(), [](const BackupOnDisk &a, const BackupOnDisk &b) {
        return a.day != b.day ? a.day > b.day : a.modified > b.modified;
    });
    return found;
}

} // namespace velmora
