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
    virtual void openPopup(const ReminderSlot& slot, const QStringList& lines,
                           const QString& lateNote) = 0;
};
