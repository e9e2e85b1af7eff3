#pragma once
// The reminder engine of the main window: the due scan (Timer1_Timer, HighlightRow, yxts) and the
// reminder initialisation 提示初始化 (tscsh). QtCore only; the pop-ups are opened through a
// PopupOpener and every message goes through the MessageService.
//
// On each tick the scan walks rows 1 to R - 1 of the grid (R read once) and reads the clock for
// every row, so a walk that crosses a minute compares later rows with the new minute. A row is due
// when its due time (column 6) equals the current minute "YYYY-MM-DD hh:mm" exactly and its due
// mark (column 11) is not "到期". A due row is coloured (yellow text on the highlight colour,
// columns 1 to the last), marked "到期" and then handed to a free slot and a pop-up of its own, so
// it never fires again, whatever happens to its pop-up.
//
// When ts.ini does not exist yet, the scan first creates the slot table for the screen, silently.
// When no slot is free the user is told so and the scan goes on: the row stays marked.

#include <QDate>
#include <QString>

#include "platform/clock.h"

#include "reminders/slottable.h"

class Clock;
class MessageService;
class PopupOpener;
class RecordGrid;
class ScreenMetrics;

class ReminderEngine {
  public:
    ReminderEngine(RecordGrid& grid, const Clock& clock, const ScreenMetrics& screen,
                   MessageService& messages, PopupOpener& popups, QString profilePath);

    // 提示初始化: a fresh table of free slots sized to the screen, then the completion message.
    void tscsh();

    // One tick of the due-scan timer.
    void Timer1_Timer();

    // Colours the cells of the row from column 1 to the last; the current cell ends on the last.
    static void HighlightRow(RecordGrid& grid, int row, quint32 foreColour, quint32 backColour);

    // Copies the row into the first free slot and opens its pop-up.
    void yxts(int row);

    const SlotTable& slotTable() const { return m_slots; }

  private:
    RecordGrid& m_grid;
    const ScreenMetrics& m_screen;
    MessageService& m_messages;
    PopupOpener& m_popups;
    SlotTable m_slots;
    QString m_dueMark;
    MinuteText m_minuteText;  // "YYYY-MM-DD hh:mm"
};
