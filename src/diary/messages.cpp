#include "messages.h"

namespace velmora::messages {

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

} // namespace velmora::messages
