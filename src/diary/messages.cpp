#include "diary/messages.h"

namespace velmora::messages {

QString nameDiffersOnlyInCase(const QString &listedName)
{
    return QStringLiteral("该用户名与已有的用户“%1”只有字母大小写不同，在 Windows 上两人会共用同一个数据文件，请换一个名字！")
        .arg(listedName);
}

QString saveFailed(const QString &reason)
{
    return QStringLiteral("数据保存失败，原有数据没有改动！\n（%1）").arg(reason);
}

QString readFailed(const QString &reason)
{
    return QStringLiteral("数据文件读取失败，没有做任何修改！\n（%1）").arg(reason);
}

QString deleteFailed(const QString &reason)
{
    return QStringLiteral("用户删除失败，数据没有改动！\n（%1）").arg(reason);
}

QString noDataFolder(const QString &reason)
{
    return QStringLiteral("无法在程序目录或用户数据目录中保存数据，程序将退出！\n（%1）").arg(reason);
}

QString exportFailed(const QString &reason)
{
    return QStringLiteral("导出失败，文件没有写入！\n（%1）").arg(reason);
}

QString pastTimeRefused(const QString &reason)
{
    return QStringLiteral("%1，请核对！").arg(reason);
}

QString confirmDeleteRecord(const QString &dateCaption)
{
    return QStringLiteral("您真的要删除 %1 的记录吗？").arg(dateCaption);
}

QString confirmUndo(const QString &user, const QString &change)
{
    return QStringLiteral("您真的要撤销用户“%1”的上一次修改（%2）吗？").arg(user, change);
}

QString undoRefused(const QString &user)
{
    return QStringLiteral("用户“%1”的数据文件在这次修改之后又被改动过，不能撤销！").arg(user);
}

QString tableUnreadable(const QString &reason)
{
    return QStringLiteral("记录表格读取失败，没有导入任何记录！\n（%1）").arg(reason);
}

QString imported(int count)
{
    return QStringLiteral("已导入 %1 条记录。").arg(count);
}

QString missingColumns(const QStringList &titles)
{
    return QStringLiteral("记录表格缺少这些列：%1，没有导入任何记录！").arg(titles.join(u'、'));
}

QString unclosedQuote(int row)
{
    return QStringLiteral("记录表格第 %1 行的引号没有结束，没有导入任何记录！").arg(row);
}

QString wrongRowWidth(int row, int fields, int columns)
{
    return QStringLiteral("记录表格第 %1 行有 %2 列，表头却有 %3 列，没有导入任何记录！").arg(row).arg(fields).arg(columns);
}

QString badRecordTime(int row, const QString &text)
{
    return QStringLiteral("记录表格第 %1 行的日期时间“%2”不是有效的日期时间，没有导入任何记录！").arg(row).arg(text);
}

QString missingValue(const QString &box)
{
    return QStringLiteral("请输入%1！").arg(box);
}

QString notWholeNumber(const QString &box)
{
    return QStringLiteral("%1应为整数，请核对！").arg(box);
}

QString sameReadingAgain(const QString &when, const QString &values)
{
    return QStringLiteral("%1 已有一条相同的读数（%2），还要再存一条吗？").arg(when, values);
}

QString unreadableLines(const QString &fileName, qsizetype count)
{
    return QStringLiteral("文件“%1”中有 %2 行无法读取，这些行已原样保留，没有计入。").arg(fileName).arg(count);
}

QString medicineNotTaken(const QString &name, const QString &when, const QString &action)
{
    return QStringLiteral("%1时没有在服用“%2”，不能%3！开始服用请用“开始服用…”。").arg(when, name, action);
}

QString medicineAlreadyTaken(const QString &name, const QString &when, const QString &plan)
{
    return QStringLiteral("%1时已在服用“%2”（%3），剂量或用法改变请用“调整…”！").arg(when, name, plan);
}

QString confirmDeleteMedicine(const QString &when, const QString &summary)
{
    return QStringLiteral("您真的要删除 %1 的“%2”这一条吗？").arg(when, summary);
}

QString readingsRefused(const QString &reason)
{
    return QStringLiteral("%1，没有导入任何读数。").arg(reason);
}

QString readingsImported(int count)
{
    return QStringLiteral("已导入 %1 条血压读数。").arg(count);
}

QString columnsNotRemembered(const QString &reason)
{
    return QStringLiteral("读数已经导入，但所选的列没有记住（%1），下次导入同样的表格时还要再选。").arg(reason);
}

} // namespace velmora::messages
