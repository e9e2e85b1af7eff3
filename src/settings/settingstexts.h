#pragma once
// Every text the settings window and the help menu show, in one place.

#include <QString>
#include <QStringList>

namespace settingstexts {

// The settings window.
inline const QString kCaption = QStringLiteral("设置");
inline const QString kFrame = QStringLiteral("设置选项");
inline const QString kIntervalLabel = QStringLiteral("刷新设置:");
inline const QString kMilliseconds = QStringLiteral("毫秒");
inline const QString kAutostart = QStringLiteral("设置开机自启动");
inline const QString kApply = QStringLiteral("设置");
inline const QString kIntervalName = QStringLiteral("刷新设置（毫秒）");
inline const QString kAlertSound = QStringLiteral("提醒时播放提示音");
// "提前 N 分钟提示", the number in a box between the two texts.
inline const QString kAdvanceBefore = QStringLiteral("提前");
inline const QString kAdvanceAfter = QStringLiteral("分钟提示");
inline const QString kAdvanceName = QStringLiteral("提前提示（分钟）");

// Message boxes of the settings window.
inline const QString kTitleNote = QStringLiteral("提示");
inline const QString kLargeIntervalNote =
    QStringLiteral("最好不要设置的太大 不然每次都会有误差，当误差大了就是错误。");
// %1: the largest interval.
inline const QString kIntervalOutOfRange = QStringLiteral(
    "刷新间隔必须是 0 到 %1 之间的整数毫秒（0 表示停止提醒扫描）。\n刷新间隔未作改动。");
// %1: the reason.
inline const QString kAutostartNotSet = QStringLiteral("未能设置开机自启动。\n%1");
inline const QString kAutostartNotCleared = QStringLiteral("未能取消开机自启动。\n%1");

// The about box.
inline const QString kAboutTitle = QStringLiteral("此版本信息");
inline const QStringList kAboutLines = {
    QStringLiteral("软件名称：Mirosta   版本号：2.2"),
    QString(),
    QStringLiteral("-------------- 更新信息 --------------"),
    QStringLiteral("1：修复了软件存数Bug"),
    QStringLiteral("2：增加了托盘显示"),
    QStringLiteral("3：增加了开机自启动"),
    QStringLiteral("4：修改了提示样式"),
};
// Followed by the support contact; this line and the empty line before it are left out when the
// build names no contact.
inline const QString kSupportPrefix = QStringLiteral("联系作者获得支持？ QQ：");

// %1: the address.
inline const QString kUpgradeNotOpened =
    QStringLiteral("无法打开浏览器。请在浏览器中打开以下地址：\n%1");

}  // namespace settingstexts
