#pragma once
// The reminder engine of the main window: the due scan (Timer1_Timer, HighlightRow, yxts), the
// reminder initialisation 提示初始化 (tscsh) and the record of what has been announced. QtCore
// only; the pop-ups are opened through a PopupOpener and every message goes through the
// MessageService.
//
// One rule decides what is announced: each tick walks rows 1 to R - 1 of today's list (R read
// once) and announces, in grid order, every row whose due mark (column 11) is not "到期" and whose
// due time (column 6) is at or before the current minute (read afresh for every row). So a row
// whose minute passed while the machine slept, the process was stopped, the clock jumped or the
// scan was switched off is announced at the next tick, its pop-up saying that it comes late. An
// announced row is coloured (yellow text on the highlight colour, columns 1 to the last), marked
// "到期" and written to the announced state, so it is never announced again, also not after a
// reload or a restart.
//
// A row is marked only once a slot has taken it. When no slot is free (or ts.ini cannot be
// written), the row and the ones after it stay as they are and are tried again at the next tick;
// the user gets one notice per tick at most, which never takes the keyboard focus. When ts.ini
// does not exist yet, the scan first creates the slot table for the screen, silently.

#include <QString>
#include <QStringList>

#include "platform/clock.h"

#include "reminders/announcedstate.h"
#include "reminders/slottable.h"

class MessageService;
class PopupOpener;
class RecordGrid;
class ScreenMetrics;

class ReminderEngine {
  public:
    ReminderEngine(RecordGrid& grid, const Clock& clock, const ScreenMetrics& screen,
                   MessageService& messages, PopupOpener& popups, QString profilePath,
                   QString announcedPath);

    // 提示初始化: a fresh table of free slots sized to the screen, then the completion message.
    void tscsh();

    // One tick of the due-scan timer.
    void Timer1_Timer();

    // Colours the cells of the row from column 1 to the last; the current cell ends on the last.
    static void HighlightRow(RecordGrid& grid, int row, quint32 foreColour, quint32 backColour);

    // Copies the row into the first free slot and opens its pop-up, with the late note on top when
    // there is one. False (the user told) when no slot could take it.
    bool yxts(int row, const QString& lateNote);

    // At start-up no pop-up of this program can be open: frees the slots an earlier run left busy.
    void freeStaleSlots();

    // After every load of today's list: forgets the announcements due before the list's day and
    // marks the rows announced before, as the scan does but without a pop-up.
    void restoreMarks(const QDate& listDay);

    // A record just saved in the editor (its eleven fields) joins the end of today's list when it
    // falls due today. True when it joined.
    bool addRecord(const QStringList& fields);

    // A record of a.bz corrected in the editor (eleven fields before and after): when only fields
    // other than its due time changed, an announcement of it stays with the corrected record.
    void carryAnnouncement(const QStringList& before, const QStringList& after);

    // The rows of today's list that are still to be announced.
    int pendingCount() const;

    const SlotTable& slotTable() const { return m_slots; }
    const AnnouncedState& announced() const { return m_announced; }

  private:
    // Whether the row carries the due mark.
    bool marked(int row) const;
    void mark(int row);
    QString recordText(int row) const;
    // One notice per tick at most.
    void notice(const QString& text);
    void saveAnnounced();

    RecordGrid& m_grid;
    const Clock& m_clock;
    const ScreenMetrics& m_screen;
    MessageService& m_messages;
    PopupOpener& m_popups;
    SlotTable m_slots;
    AnnouncedState m_announced;
    QString m_dueMark;
    MinuteText m_minuteText;  // "YYYY-MM-DD hh:mm"
    bool m_noticeGiven = false;
};
