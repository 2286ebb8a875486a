#pragma once

#include <QString>
#include <QStringList>

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
inline const QString NothingToAnalyse = QStringLiteral("没有可分析的记录，请先显示数据！");

// Refusals and failures that keep the stored data safe.
inline const QString UnsafeUserName =
    QStringLiteral("该用户名不能使用！用户名不能为空，不能含有 \\ / : * ? \" < > | , 等符号或控制字符，"
                   "不能是“.”或“..”，不能超过50个汉字，请换一个名字！");
inline const QString ChangedOutside =
    QStringLiteral("数据文件已被其他程序改动，本次修改没有保存，请重新显示后再修改！");
QString saveFailed(const QString &reason);
QString nameDiffersOnlyInCase(const QString &listedName); // two users would share one record file on Windows
QString readFailed(const QString &reason);
QString deleteFailed(const QString &reason);
QString noDataFolder(const QString &reason);

// Exports.
inline const QString NotOverDataFile =
    QStringLiteral("不能用导出的文件替换程序的数据文件（.dat），请换一个文件名或文件夹！");
QString exportFailed(const QString &reason);

// Past measurements, single deletions, undo and record tables brought in.
QString pastTimeRefused(const QString &reason);         // the time chosen for a past measurement
QString confirmDeleteRecord(const QString &dateCaption); // "您真的要删除 2024年05月04日23时50分07秒 的记录吗？"
inline const QString DeleteNeedsDisplay =
    QStringLiteral("列表中显示的不是当前用户的记录，请先按“显示”，再删除记录！");
inline const QString NothingToUndo = QStringLiteral("没有可以撤销的修改！");
QString confirmUndo(const QString &user, const QString &change);
QString undoRefused(const QString &user);
QString tableUnreadable(const QString &reason);
QString imported(int count);
inline const QString NotARecordTable =
    QStringLiteral("所选文件不是本程序导出的记录表格（找不到“日期时间”“性别”等列标题），没有导入任何记录！");
inline const QString UnknownTableEncoding =
    QStringLiteral("记录表格的文字编码无法识别（既不是UTF-8，也不是GBK），没有导入任何记录！");
QString missingColumns(const QStringList &titles);
QString unclosedQuote(int row);
QString wrongRowWidth(int row, int fields, int columns);
QString badRecordTime(int row, const QString &text);

// Home blood pressure readings.
QString missingValue(const QString &box);   // "请输入收缩压！"
QString notWholeNumber(const QString &box); // "收缩压应为整数，请核对！"
QString sameReadingAgain(const QString &when, const QString &values);
QString unreadableLines(const QString &fileName, qsizetype count);

// Medicines.
inline const QString NothingTaken = QStringLiteral("目前没有正在服用的药物，请先用“开始服用…”记下开始服用。");
inline const QString ChooseMedicineEvent = QStringLiteral("请先在“全部记录”中选中要删除的一条！");
inline const QString NoMedicinesToExport = QStringLiteral("当前用户还没有用药记录，没有可导出的内容！");
QString medicineNotTaken(const QString &name, const QString &when, const QString &action); // 调整 or 停用
QString medicineAlreadyTaken(const QString &name, const QString &when, const QString &plan);
QString confirmDeleteMedicine(const QString &when, const QString &summary);
inline const QString MedicinesChangedOutside =
    QStringLiteral("用药记录文件已被其他程序改动，没有删除任何一条，请查看后再删除！");

// Readings brought in from elsewhere.
QString readingsRefused(const QString &reason); // "<reason>，没有导入任何读数。"
QString readingsImported(int count);            // "已导入 12 条血压读数。"
QString columnsNotRemembered(const QString &reason);
inline const QString ChooseColumnsAgain = QStringLiteral("请重新选择日期、时间和血压所在的列。");

// Backups and restores.
QString backedUp(const QString &path, const QString &contents);
QString backupFailed(const QString &reason);
QString offerSecondFolder(const QString &folder);
QString secondFolderNotKept(const QString &reason);
QString backupsFailing(const QString &sinceDay, const QString &reason);
QString backupUnreadable(const QString &reason);
QString backupRefused(const QString &reason);
QString restoreSummary(const QString &made, const QStringList &userLines, const QString &damaged);
QString replacesUnlisted(const QStringList &fileNames);
inline const QString NothingToRestore = QStringLiteral("当前日记已经有备份中的全部内容，没有需要恢复的，日记没有改动。");
inline const QString NoUsersChosen = QStringLiteral("没有选择要恢复的用户，日记没有改动。");
QString restoreNotBackedUp(const QString &reason);
QString restoreFailed(const QString &reason);
QString restored(const QString &what, const QString &safetyBackup);

} // namespace velmora::messages
