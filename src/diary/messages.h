#pragma once

#include <QString>

// The texts of the program's message boxes.
namespace velmora::messages {

inline const QString ChooseOrAddUser = QStringLiteral("清选择或添加用户!");
inline const QString ConfirmStore = QStringLiteral("您真的要保存该项数据吗？");
inline const QString InvalidEntry = QStringLiteral("数据输入有误,或存在不合理数据，注意年龄和性别不能为空，请核对！");
inline const QString NameEmpty = QStringLiteral("姓名不能为空！");
inline const QString NoUserChosen = QStringLiteral("您没有选择或添加任何用户！");
inline const QString UserCreated = QStringLiteral("新用户创建成功！");
inline const QString ChooseUser = QStringLiteral("清选择用户!");
inline const QString ConfirmDelete = QStringLiteral("您真的要删除该用户吗？");
inline const QString UserDeleted = QStringLiteral("该用户已经成功删除！");
inline const QString NothingToModify = QStringLiteral(" 未指定修改项，或无数据！ ");
inline const QString Modified = QStringLiteral("修改完毕!");

// Refusals and failures that keep the stored data safe.
inline const QString UnsafeUserName =
    QStringLiteral("该用户名不能使用！用户名不能为空，不能含有 \\ / : * ? \" < > | , 等符号或控制字符，"
                   "不能是“.”或“..”，不能超过50个汉字，请换一个名字！");
inline const QString ChangedOutside =
    QStringLiteral("数据文件已被其他程序改动，本次修改没有保存，请重新显示后再修改！");
QString saveFailed(const QString &reason);
QString readFailed(const QString &reason);
QString deleteFailed(const QString &reason);
QString noDataFolder(const QString &reason);

} // namespace velmora::messages
