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

}  // namespace searchtexts
