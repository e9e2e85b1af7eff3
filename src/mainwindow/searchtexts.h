#pragma once
// Every text the search window shows, in one place.

#include <QString>

namespace searchtexts {

inline const QString kCaption = QStringLiteral("查找提示信息");
inline const QString kLabel = QStringLiteral("搜索信息(支持模糊搜索)：");
inline const QString kSearch = QStringLiteral("搜索");
inline const QString kTitleNote = QStringLiteral("提示");
// %1: how many cells matched.
inline const QString kDone = QStringLiteral("搜索结束！共找到 %1 个匹配的单元格。");

// Where to search: today's list as the grid shows it, or every record of a.bz.
inline const QString kScope = QStringLiteral("范围：");
inline const QString kTodayScope = QStringLiteral("今日列表");
inline const QString kFileScope = QStringLiteral("全部记录");
inline const QString kStop = QStringLiteral("停止");
inline const QString kResults = QStringLiteral("全部记录中找到的记录");
inline const QString kLineColumn = QStringLiteral("行号");
inline const QString kSearching = QStringLiteral("正在查找数据文件…");
// %1: records found, %2: lines in a.bz.
inline const QString kFound = QStringLiteral("找到 %1 条记录（数据文件共 %2 行）。");
// %1: lines read, %2: records found.
inline const QString kStopped = QStringLiteral("已停止：在前 %1 行中找到 %2 条记录。");
inline const QString kNoFile = QStringLiteral("数据文件不存在，没有记录可查找。");
inline const QString kUnreadable = QStringLiteral("无法读取数据文件：%1");
inline const QString kCannotMatch = QStringLiteral(
    "找到 0 条记录：请输入要查找的文字；记录中不会有逗号、换行或无法用 GBK 保存的字符。");

}  // namespace searchtexts
