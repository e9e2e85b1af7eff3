#pragma once
// The table of reminder slots in ts.ini, the only channel between the due scan and the pop-ups.
// QtCore only.
//
// The table holds 5 groups of positionsPerGroup positions each, in the file in the order 1|1 ...
// 1|P, 2|1 ... 5|P. positionsPerGroup is the screen height in twips divided by 2790, rounded to the
// nearest whole number (halves to even), less 1; it is fixed when the table is created.
//
// A slot is free when its 是否显示 entry reads as the number 0. The first free slot is the first
// section, in file order, that is free; the section names are taken from every line that holds a
// "[" (see ListProfileSections). A section that names no slot (not group "|" position) or that
// has no readable flag is never taken, so a broken or hand-edited file can only cost slots.

#include <QString>
#include <QStringList>
#include <optional>

#include "reminders/reminderslot.h"

class ScreenMetrics;

class SlotTable {
  public:
    static constexpr int kGroups = 5;

    explicit SlotTable(QString profilePath);

    const QString& path() const { return m_path; }
    bool exists() const;

    static int positionsPerGroup(const ScreenMetrics& screen);
    // 1|1 ... 1|P, 2|1 ... 5|P; empty when P is 0 or less.
    static QStringList slotNames(int positionsPerGroup);

    // Replaces the file with a table of free slots whose entries are all "0". With no slot to
    // write the file is only deleted. On failure the old file is left as it was.
    bool create(int positionsPerGroup, QString* error = nullptr) const;

    std::optional<ReminderSlot> findFreeSlot() const;

    // Copies a record into the slot (the keys and values in ReminderSlot::recordKeys() order) and
    // marks it busy, in one write. Returns the pop-up's list lines ("key:value" in
    // ReminderSlot::popupKeys() order, as read back from the profile), or nothing on failure.
    std::optional<QStringList> fill(const ReminderSlot& slot, const QStringList& values,
                                    QString* error = nullptr) const;

    // Marks the slots free ("是否显示" = "0"), touching nothing else. Slots the file does not
    // hold (or a missing file) are left alone.
    bool release(const QStringList& slotNames, QString* error = nullptr) const;
    // Marks every busy slot free, touching nothing else (no write when none is busy).
    bool releaseAll(QString* error = nullptr) const;

  private:
    QString m_path;
};
