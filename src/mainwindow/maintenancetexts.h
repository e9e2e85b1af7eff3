#pragma once
// What the record maintenance commands and 恢复备份… say.

#include <QString>
#include <QStringList>

namespace maintenancetexts {

inline const QString kTitle = QStringLiteral("提示");
inline const QString kErrorTitle = QStringLiteral("错误");

// A double click on a row that has not fired.
inline const QString kAskRemoveRow = QStringLiteral(
    "第 %1 行（%2，到期时间 %3）尚未提醒。\n"
    "移出今日列表后，这批试块今天不会再提醒；数据文件 a.bz 不会改变，下次读取数据时它会重新列出。\n"
    "是否移出？");

// 删除过期数据.
inline const QString kNoData = QStringLiteral("没有检测到数据");
inline const QString kNothingFired =
    QStringLiteral("今日列表中没有标记为“到期”的记录，没有要删除的数据。");
inline const QString kAskDelete = QStringLiteral(
    "将从数据文件 a.bz 中删除 %1 条已到期（已提醒）的记录，并把它们移出今日列表。\n"
    "删除前会先备份数据文件。");
inline const QString kAskDeleteNotInFile =
    QStringLiteral("\n另有 %1 行在数据文件中找不到相同的记录，只移出今日列表。");
inline const QString kAskDeleteNoneInFile = QStringLiteral(
    "今日列表中已到期的 %1 行在数据文件中都找不到相同的记录（可能已被修改或删除），"
    "只移出今日列表，数据文件不会改变。");
inline const QString kAskContinue = QStringLiteral("\n是否继续？");
inline const QString kDeletedOther =
    QStringLiteral("询问期间数据文件或今日列表有了变化：实际从数据文件中删除了 %1 条记录。");
inline const QString kDeleteFailed =
    QStringLiteral("无法删除过期数据：%1\n数据文件和列表均未改动。");
inline const QString kListDone = QStringLiteral("删除提醒");
inline const QString kListDoneText =
    QStringLiteral("由于今日提醒完毕。所以已经关闭提醒。 您可以关闭本程序以便节省资源。");

// 数据初始化.
inline const QString kNoInitNeeded = QStringLiteral("无需初始化数据。");
inline const QString kAskInit = QStringLiteral(
    "数据初始化将删除数据文件中的全部记录（%1 条）。\n"
    "删除前的数据已备份为“%2”，需要时可用“菜单 → 初始化 → 恢复备份…”找回。\n"
    "确定要继续吗？");
inline const QString kInitDone = QStringLiteral("初始化完成。");
inline const QString kInitFailed = QStringLiteral("数据初始化失败：%1\n数据文件未改动。");

// 恢复备份….
inline const QString kRestoreItem = QStringLiteral("恢复备份…");
inline const QString kRestoreCaption = QStringLiteral("恢复备份");
inline const QString kRestorePick =
    QStringLiteral("选择要恢复的备份（备份文件夹“%1”）。恢复前会先备份当前的数据文件。");
inline const QStringList kRestoreColumns = {QStringLiteral("备份时间"), QStringLiteral("记录数"),
                                            QStringLiteral("大小"), QStringLiteral("文件名")};
inline const QString kBytes = QStringLiteral("%1 字节");
inline const QString kCounting = QStringLiteral("正在统计…");
inline const QString kUnreadable = QStringLiteral("无法读取");
inline const QString kRestoreButton = QStringLiteral("恢复");
inline const QString kCancelButton = QStringLiteral("取消");
inline const QString kNoBackups = QStringLiteral("还没有数据文件的备份。");
inline const QString kAskRestore = QStringLiteral(
    "将数据文件 a.bz 恢复为 %1 的备份，当前的全部记录将被它替换。\n"
    "恢复前会先备份当前的数据文件。\n是否恢复？");
inline const QString kRestored =
    QStringLiteral("已恢复 %1 的备份。\n恢复前的数据文件已备份为“%2”。");
inline const QString kRestoreFailed = QStringLiteral("无法恢复备份：%1\n数据文件未改动。");

inline const QString kTimeShown = QStringLiteral("yyyy-MM-dd HH:mm:ss");

}  // namespace maintenancetexts
