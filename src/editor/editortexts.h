#pragma once
// Every text the record editor shows, in one place.

#include <QString>

namespace editortexts {

inline const QString kCaption = QStringLiteral("增添提醒数据   右侧显示全部龄期信息。 ");

inline const QString kProjectPart = QStringLiteral("工程部位：");
inline const QString kStrengthGrade = QStringLiteral("强度等级：");
inline const QString kMixNumber = QStringLiteral("配合比编号：");
inline const QString kCuringMethod = QStringLiteral("养护方式：");
inline const QString kQuantity = QStringLiteral("工程量：");
inline const QString kGroupCount = QStringLiteral("组数：");
inline const QString kCastingDate = QStringLiteral("制作日期：");
inline const QString kHourMinute = QStringLiteral("小时分钟：");
inline const QString kCuringAge = QStringLiteral("龄期（D）：");
inline const QString kDueTime = QStringLiteral("到期时间：");
inline const QString kRemark = QStringLiteral("备注：");

inline const QString kCompute = QStringLiteral("?");
inline const QString kAdd = QStringLiteral("添加");
inline const QString kClose = QStringLiteral("关闭");
inline const QString kNote = QStringLiteral("添加后立即生效，无需重启本软件。");

inline const QString kStandardCuring = QStringLiteral("标准养护");
inline const QString kSameConditionCuring = QStringLiteral("同级养护");
inline const QString kDefaultGrade = QStringLiteral("C30");
inline const char* const kGrades[] = {"C25", "C30", "C35", "C40", "C45", "C50", "C60"};

// Accessible names of the controls that share one label or have none.
inline const QString kCastingHourName = QStringLiteral("制作时间（小时）");
inline const QString kCastingMinuteName = QStringLiteral("制作时间（分钟）");
inline const QString kAgeHoursName = QStringLiteral("龄期（小时）");
inline const QString kAgeMinutesName = QStringLiteral("龄期（分钟）");
inline const QString kComputeName = QStringLiteral("计算到期时间");
inline const QString kGridName = QStringLiteral("全部记录");

// Message boxes.
inline const QString kTitleNote = QStringLiteral("提示");
inline const QString kTitleError = QStringLiteral("错误");
inline const QString kAgeMissing = QStringLiteral("龄期未填写，无法进行添加");
inline const QString kAgeBelowOneDay =
    QStringLiteral("龄期不足一天或不是数字，无法计算到期时间。到期时间未作改动。");
inline const QString kDueDateOutOfRange =
    QStringLiteral("到期日期超出了日历的范围（9999年以后），无法计算。到期时间未作改动。");
// %1: the field's name.
inline const QString kFieldHasSeparator = QStringLiteral(
    "“%1”中含有半角逗号“,”或换行，数据文件无法保存这样的内容。\n本条记录未添加，请修改后再添加。");
// %1: the field's name, %2: the character.
inline const QString kFieldHasUnsavable =
    QStringLiteral("“%1”中含有数据文件无法保存的字符“%2”。\n本条记录未添加，请修改后再添加。");
// %1: the reason.
inline const QString kSaveFailed =
    QStringLiteral("本条记录未能保存，数据文件保持原样，记录未添加。\n%1");
inline const QString kLoadFailed = QStringLiteral(
    "无法读取数据文件，右侧不能显示全部记录。为免覆盖原有记录，在问题排除之前不能添加记录。\n%1");
inline const QString kAddWithoutRecords = QStringLiteral(
    "数据文件未能读取，为免覆盖原有记录，本条记录未添加。请排除问题后关闭并重新打开本窗口。\n%1");

// The questions before 添加 saves a record. %1: the due time as typed, %2: as computed.
inline const QString kDueTimeMissing =
    QStringLiteral("“到期时间”未填写。没有到期时间的记录永远不会提醒。\n仍然添加这条记录吗？");
inline const QString kDueTimeMalformed = QStringLiteral(
    "“到期时间”中的“%1”不是有效的日期和时间（日期须写满“YYYY-MM-DD”，例如 2026-11-05 9:30），"
    "这样的记录永远不会提醒。\n仍然添加这条记录吗？");
inline const QString kDueTimeStale = QStringLiteral(
    "“到期时间”%1 与按制作日期、制作时间和龄期计算出的 %2 不同。\n\n"
    "是：改为 %2 后添加\n否：按填写的 %1 添加\n取消：不添加");
// %1: the number of the record already in the file.
inline const QString kDuplicate =
    QStringLiteral("数据文件中已有一条完全相同的记录（右侧第 %1 条）。\n再添加一条相同的记录吗？");
// %1: the text typed into the casting-date field.
inline const QString kCastingDateInvalid = QStringLiteral(
    "“制作日期”中的“%1”不是有效的日期。\n"
    "请按 2026-11-5、2026-11-05、2026/11/5 或 20261105 的样式填写，或从日历中选择。");
inline const QString kCastingDateTip =
    QStringLiteral("可输入 2026-11-5、2026-11-05、2026/11/5 或 20261105，或按 F4 打开日历");
inline const QString kCalendarName = QStringLiteral("打开日历");

// The status line after a record was saved. %1: its due time.
inline const QString kSaved = QStringLiteral("已保存，到期时间：%1");
inline const QString kSavedWithoutDueTime = QStringLiteral("已保存，未填写到期时间，不会提醒");
inline const QString kSavedNoReminder = QStringLiteral("已保存，到期时间“%1”无效，不会提醒");
inline const QString kStatusName = QStringLiteral("保存结果");

// While a long data file is read in the background.
inline const QString kLoading = QStringLiteral("正在读取全部记录…… %p%");
inline const QString kLoadingName = QStringLiteral("正在读取全部记录");
inline const QString kAddWhileLoading =
    QStringLiteral("正在读取全部记录，请在读取完成后再添加。本条记录未添加。");

// Changing and deleting records, and undoing.
inline const QString kEdit = QStringLiteral("修改");
inline const QString kSaveEdit = QStringLiteral("保存修改");
inline const QString kCancelEdit = QStringLiteral("取消修改");
inline const QString kDelete = QStringLiteral("删除记录");
inline const QString kUndo = QStringLiteral("撤销");
// %1: the row's number, %2: its 工程部位.
inline const QString kEditing =
    QStringLiteral("正在修改右侧第 %1 条记录（%2）。改好后点“保存修改”；点“取消修改”则不作改动。");
inline const QString kChooseRowToEdit = QStringLiteral("请先在右侧表格中选中要修改的记录。");
inline const QString kChooseRowsToDelete = QStringLiteral("请先在右侧表格中选中要删除的记录。");
// %1: how many records.
inline const QString kDeleteQuestion = QStringLiteral(
    "确定要从数据文件中删除选中的 %1 条记录吗？\n删除后可以点“撤销”（Ctrl+Z）恢复。");
inline const QString kEditWhileLoading =
    QStringLiteral("正在读取全部记录，请在读取完成后再修改或删除。");
// %1: the row's number.
inline const QString kDuplicateOther =
    QStringLiteral("数据文件中已有一条与修改后完全相同的记录（右侧第 %1 条）。\n仍然保存修改吗？");
// The texts of the undo stack's steps. %1: the number of records.
inline const QString kStepAdd = QStringLiteral("添加 %1 条记录");
inline const QString kStepEdit = QStringLiteral("修改记录");
inline const QString kStepDelete = QStringLiteral("删除 %1 条记录");
// %1: the step, %2: the reason.
inline const QString kUndoFailed = QStringLiteral("无法撤销“%1”：%2");
inline const QString kRedoFailed = QStringLiteral("无法重做“%1”：%2");
inline const QString kNothingToUndo = QStringLiteral("本次打开录入窗口以来没有可以撤销的操作。");
// The status line after a change.
inline const QString kChanged = QStringLiteral("已保存修改");
inline const QString kUnchanged = QStringLiteral("记录没有改动，未保存");
inline const QString kAddedSeveral = QStringLiteral("已添加 %1 条记录");
inline const QString kDeleted = QStringLiteral("已删除 %1 条记录");
inline const QString kUndone = QStringLiteral("已撤销：%1");
inline const QString kFreshFile =
    QStringLiteral("数据文件已被其他程序修改，已按最新的文件保存，右侧显示最新内容。");
// %1: the reason.
inline const QString kChangeFailed = QStringLiteral("修改未能保存，数据文件保持原样。\n%1");
inline const QString kDeleteFailed = QStringLiteral("记录未能删除，数据文件保持原样。\n%1");

// The checks of implausible input. %1: the field's name, %2: its text, %3: the largest value.
inline const QString kCastingTimeOutOfRange =
    QStringLiteral("“%1”中的“%2”不在 0 到 %3 之间。\n本条记录未添加，请修改后再添加。");
inline const QString kAgeMissingForDueTime =
    QStringLiteral("“龄期（D）”未填写，无法核对到期时间。\n本条记录未添加，请填写龄期后再添加。");
// %1: the casting date.
inline const QString kCastingDateFar =
    QStringLiteral("制作日期 %1 与今天相差一年以上。\n仍然添加这条记录吗？");
inline const QString kDuePassed =
    QStringLiteral("到期时间已过，本条不会提醒。\n仍然添加这条记录吗？");
inline const QString kDuePassedToday =
    QStringLiteral("到期时间已过，本条添加后会立即补发提醒。\n仍然添加这条记录吗？");

// Several ages in one add.
inline const QString kSeveralAges = QStringLiteral("多个龄期：");
inline const QString kOtherAgeName = QStringLiteral("其他龄期（天）");
inline const QString kOtherAgeTip = QStringLiteral("另一个龄期（天），填写后一并添加");
// %1: the age in days.
inline const QString kTickName = QStringLiteral("龄期 %1 天");
// %1: how many records, %2: one line per record.
inline const QString kSeveralAgesQuestion = QStringLiteral(
    "将按以下 %1 个龄期各添加一条记录，到期时间按制作日期、制作时间和龄期计算：\n\n%2\n\n"
    "添加这些记录吗？");
// %1: the age, %2: the due time.
inline const QString kSeveralAgesLine = QStringLiteral("龄期 %1 天，到期时间 %2");
inline const QString kNoDueTime = QStringLiteral("（无法计算）");
inline const QString kSeveralAgesNoReminder = QStringLiteral("，不会提醒");
inline const QString kSeveralAgesPast = QStringLiteral("，已过期，不会按时提醒");
inline const QString kSeveralAgesSame = QStringLiteral("，与右侧第 %1 条相同");

}  // namespace editortexts
