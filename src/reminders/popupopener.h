#pragma once
// Opens a reminder pop-up for a slot the due scan has just filled and claimed: the Qt
// implementation (ReminderPopupFactory) creates a ReminderPopup window, tests count the calls.
// QtCore only.

#include <QStringList>

#include "reminders/reminderslot.h"

class PopupOpener {
  public:
    virtual ~PopupOpener() = default;
    // lines: the pop-up's list, "key:value" in ReminderSlot::popupKeys() order. lateNote: for a
    // reminder given after its minute, the line that says so above the list; empty otherwise.
    // record: the record's ten fields joined by commas, by which its row is found again.
    virtual void openPopup(const ReminderSlot& slot, const QStringList& lines,
                           const QString& lateNote, const QString& record) = 0;
    // One window for several rows announced late in one tick, in one slot: a line for each row
    // (lateListLine()) and the rows' records.
    virtual void openLateList(const ReminderSlot& slot, const QStringList& lines,
                              const QStringList& records) = 0;
};

// What a pop-up's headline says of a batch: 工程部位, 强度等级 and 组数 ("3号楼三层柱  C30  2组").
inline QString batchSummary(const QString& part, const QString& grade, const QString& groups) {
    QStringList parts;
    for (const QString& text : {part, grade, groups.isEmpty() ? QString() : groups + u'组'})
        if (!text.trimmed().isEmpty()) parts << text;
    return parts.join(QStringLiteral("  "));
}

// A row of the list of late rows: "编号 5：3号楼三层柱  C30  2组  原定 04-03 15:00".
inline QString lateListLine(const QString& number, const QString& batchAndDue) {
    return QStringLiteral("编号 %1：%2").arg(number, batchAndDue);
}
