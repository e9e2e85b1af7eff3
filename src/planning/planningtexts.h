#pragma once
// Every text the 试验计划 window shows, in one place.

#include <QString>
#include <QStringList>

namespace planningtexts {

inline const QString kCaption = QStringLiteral("试验计划");
inline const QString kMenuItem = QStringLiteral("试验计划");
inline const QString kWeekTab = QStringLiteral("近期到期");
inline const QString kCuringTab = QStringLiteral("同条件养护");

// The week ahead.
inline const QString kDays = QStringLiteral("天数：");
inline const QString kDaysHint = QStringLiteral("（从今天 0 点起，含今天）");
inline const QString kWeekTable = QStringLiteral("近期到期的记录");
inline const QString kOverdue = QStringLiteral("已过期未删除");
inline const QString kGroupLine = QStringLiteral("%1　共 %2 批，%3 组");
inline const QStringList kWeekdays = {QStringLiteral("星期一"), QStringLiteral("星期二"),
                                      QStringLiteral("星期三"), QStringLiteral("星期四"),
                                      QStringLiteral("星期五"), QStringLiteral("星期六"),
                                      QStringLiteral("星期日")};
inline const QStringList kWeekColumns = {
    QStringLiteral("到期时间"),   QStringLiteral("工程部位"), QStringLiteral("强度等级(C)"),
    QStringLiteral("配合比编号"), QStringLiteral("制作日期"), QStringLiteral("龄期（D）"),
    QStringLiteral("养护方式"),   QStringLiteral("工程量"),   QStringLiteral("组数"),
    QStringLiteral("备注"),       QStringLiteral("是否到期")};

// The week ahead taken away: the testing list, CSV and PDF.
inline const QString kListTitle = QStringLiteral("近期到期试验清单");
inline const QString kDoneColumn = QStringLiteral("完成");
inline const QString kListSummary = QStringLiteral("%1 至 %2，共 %3 批，%4 组。");
inline const QString kListOverdue =
    QStringLiteral("另有 %1 批更早到期的记录仍在数据文件中，未列入本清单。");
inline const QString kListFileName = QStringLiteral("近期到期试验清单_%1");
inline const QString kNothingToExport = QStringLiteral("所选天数内没有到期的记录。");

// The temperature log.
inline const QString kLogTitle = QStringLiteral("日平均气温记录（qw.csv）");
inline const QString kLogTable = QStringLiteral("日平均气温");
inline const QStringList kLogColumns = {QStringLiteral("日期"), QStringLiteral("气温（℃）")};
inline const QString kLogDate = QStringLiteral("日期：");
inline const QString kLogTemperature = QStringLiteral("气温（℃）：");
inline const QString kAddDay = QStringLiteral("添加/修改");
inline const QString kRemoveDays = QStringLiteral("删除所选");
inline const QString kAskRemoveDays = QStringLiteral("删除所选的 %1 天气温记录？");
inline const QString kImport = QStringLiteral("导入…");
inline const QString kImportFilter = QStringLiteral("CSV 文件 (*.csv *.txt);;所有文件 (*)");
inline const QString kUnreadableLines =
    QStringLiteral("qw.csv 中有 %1 行无法识别：计算时不用，保存时原样保留。");
inline const QString kLogUnreadable =
    QStringLiteral("无法读取气温记录，为免覆盖，本次不能修改：\n%1");
inline const QString kBadTemperature =
    QStringLiteral("气温应为 -60 到 60 之间的数，最多一位小数，例如 12.5 或 -3。");
inline const QString kLogSaveFailed =
    QStringLiteral("气温记录未能保存，修改仍在窗口中，下次修改时会再次保存。\n%1");
inline const QString kImported = QStringLiteral("已导入 %1 行气温，跳过 %2 行无法识别的内容。");
// The numbers of the skipped lines, "3、7、12"; the first kListedSkips of them.
inline constexpr int kListedSkips = 20;
inline const QString kSkippedLines = QStringLiteral("\n跳过的行：第 %1 行。");
inline const QString kMoreSkipped = QStringLiteral("（只列出前 20 行。）");
inline const QString kFileMissing = QStringLiteral("文件不存在。");
inline const QString kImportUnreadable = QStringLiteral("无法读取要导入的文件。\n%1");

// The same-condition records.
inline const QString kRecordTable = QStringLiteral("同条件养护记录");
// In the order of SameConditionModel::Column: what the user decides on comes first.
inline const QStringList kRecordColumns = {
    QStringLiteral("工程部位"),      QStringLiteral("配合比编号"),   QStringLiteral("含估算"),
    QStringLiteral("说明"),          QStringLiteral("推算到期时间"), QStringLiteral("当前到期时间"),
    QStringLiteral("推算龄期（D）"), QStringLiteral("已计℃·d"),      QStringLiteral("已计天数"),
    QStringLiteral("制作日期")};
inline const QString kYes = QStringLiteral("是");
inline const QString kNo = QStringLiteral("否");
inline const QString kWillChange = QStringLiteral("需更新");
inline const QString kPassed = QStringLiteral("需更新：推算到期时间已过");
inline const QString kEmptyLog = QStringLiteral("没有气温记录");
inline const QString kBeforeLog = QStringLiteral("缺少 %1 以前的气温");
inline const QString kNoDueDay = QStringLiteral("366 天内达不到等效龄期");
inline const QString kBadCasting = QStringLiteral("制作日期无法识别");
inline const QString kUpdate = QStringLiteral("更新到期时间");

// The curing chart.
inline const QString kChartName = QStringLiteral("累计温度图");
inline const QString kChartHint =
    QStringLiteral("在上面的列表中选择一条记录，查看逐日累计的温度。");
inline const QString kChartNoCurve =
    QStringLiteral("%1：制作日期无法识别，或缺少制作以后的气温记录，无法绘制。");
// %1: 工程部位, %2: 配合比编号, %3: 制作日期.
inline const QString kChartCaption = QStringLiteral("%1（%2），制作于 %3");
inline const QString kChartThreshold = QStringLiteral("600 ℃·d");
inline const QString kChartMinDays = QStringLiteral("计满 14 天");
inline const QString kChartMaxDays = QStringLiteral("计满 60 天");
inline const QString kChartToday = QStringLiteral("今天");
inline const QString kChartDue = QStringLiteral("推算到期：第 %1 天");
inline const QString kChartDays = QStringLiteral("养护天数");
inline const QString kChartUnit = QStringLiteral("累计 ℃·d");
inline const QString kChartLogged = QStringLiteral("记录的气温");
inline const QString kChartEstimated = QStringLiteral("估算的气温");

// Messages.
inline const QString kTitle = QStringLiteral("提示");
inline const QString kTitleError = QStringLiteral("错误");
inline const QString kNothingToUpdate = QStringLiteral("没有需要更新到期时间的记录。");
inline const QString kAskUpdate = QStringLiteral(
    "将按等效养护龄期更新 %1 条同条件养护记录的龄期和到期时间，其余内容不变。是否继续？");
inline const QString kAskEstimated = QStringLiteral(
    "\n其中 %1 条的推算用到了估算的气温（缺少记录的日子按此前 7 天的平均气温计），"
    "记录实际气温后推算结果可能还会改变。");
// What becomes of the records whose projected due time has passed: those of today are announced
// late in today's list, those of earlier days have missed theirs. %1: how many in all.
inline const QString kAskPassed = QStringLiteral("\n其中 %1 条的推算到期时间已过");
// %1: how many of them fall due today, and on earlier days.
inline const QString kAskPassedToday = QStringLiteral("，%1 条今天到期，更新后将补发提醒");
inline const QString kAskPassedEarlier = QStringLiteral("，%1 条在今天以前到期，已错过提醒");
inline const QString kAskPassedEnd = QStringLiteral("，请尽快安排试验。");
inline const QString kUpdated = QStringLiteral("已更新 %1 条记录的龄期和到期时间。");
inline const QString kFileChanged =
    QStringLiteral("数据文件在此期间已被修改，未作任何改动。已重新读取，请核对后再更新。");
inline const QString kUpdateFailed = QStringLiteral("到期时间未能更新，数据文件保持原样。\n%1");
inline const QString kLoading = QStringLiteral("正在读取数据文件…");
inline const QString kWriting = QStringLiteral("正在写入数据文件…");
inline const QString kDataUnreadable = QStringLiteral("无法读取数据文件：%1");

}  // namespace planningtexts
