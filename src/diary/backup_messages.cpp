// The texts of the backups' and restores' message boxes (messages.h).

#include "diary/messages.h"

#include <QDir>

namespace velmora::messages {

QString backedUp(const QString &path, const QString &contents)
{
    return QStringLiteral("日记已备份到：\n%1\n\n%2\n备份已读回，核对无误。").arg(QDir::toNativeSeparators(path), contents);
}

QString backupFailed(const QString &reason)
{
    return QStringLiteral("备份没有完成：%1\n没有留下不完整的备份文件。").arg(reason);
}

QString offerSecondFolder(const QString &folder)
{
    return QStringLiteral("以后每天的自动备份也复制一份到这个文件夹吗？\n%1\n（这个文件夹不在时，例如U盘没有插上，就跳过。）")
        .arg(QDir::toNativeSeparators(folder));
}

QString secondFolderNotKept(const QString &reason)
{
    return QStringLiteral("没能记住这个文件夹：%1").arg(reason);
}

QString backupsFailing(const QString &sinceDay, const QString &reason)
{
    return QStringLiteral("自动备份从 %1 起已经连续 7 天没有做成。\n原因：%2\n可以用右键菜单中的“备份日记…”把日记备份到其他地方。")
        .arg(sinceDay, reason);
}

QString backupUnreadable(const QString &reason)
{
    return QStringLiteral("备份文件无法读取：%1\n日记没有改动。").arg(reason);
}

QString backupRefused(const QString &reason)
{
    return QStringLiteral("这个备份不能恢复：%1。\n日记没有改动，程序文件夹之外也没有写入任何文件。").arg(reason);
}

QString restoreSummary(const QString &made, const QStringList &userLines, const QString &damaged)
{
    QString text = QStringLiteral("备份时间：%1\n将恢复 %2 位用户：%3；当前日记先备份。")
                       .arg(made)
                       .arg(userLines.size())
                       .arg(userLines.join(QStringLiteral("；")));
    if (!damaged.isEmpty())
        text += QStringLiteral("\n\n备份中这些文件已损坏，不会恢复：%1").arg(damaged);
    return text;
}

QString replacesUnlisted(const QStringList &fileNames)
{
    return QStringLiteral("程序文件夹中的 %1 不属于用户列表中的任何用户，恢复会用备份中的文件替换它们（恢复前的备份不包括它们）。\n要继续吗？")
        .arg(fileNames.join(u'、'));
}

QString restoreNotBackedUp(const QString &reason)
{
    return QStringLiteral("恢复之前没能先备份当前日记：%1\n没有恢复任何内容，日记没有改动。").arg(reason);
}

QString restoreFailed(const QString &reason)
{
    return QStringLiteral("恢复没有完成：%1\n日记保持恢复之前的样子。").arg(reason);
}

QString restored(const QString &what, const QString &safetyBackup)
{
    return QStringLiteral("恢复完成。%1\n\n恢复之前的日记已备份为：\n%2\n\n本次运行中此前的修改已不能再撤销。")
        .arg(what, QDir::toNativeSeparators(safetyBackup));
}

} // namespace velmora::messages
