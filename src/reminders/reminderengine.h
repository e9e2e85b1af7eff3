#pragma once
// The reminder engine of the main window: the due scan (Timer1_Timer, HighlightRow, yxts), the
// reminder initialisation 提示初始化 (tscsh) and the record of what has been announced. QtCore
// only; the pop-ups are opened through a PopupOpener and every message goes through the
// MessageService. It works on the rows of the record grid, never on the rows a view shows.
//
// One rule decides what is announced: each tick walks rows 1 to R - 1 of today's list (R read
// once) and announces, in grid order, every row whose due mark (column 11) is not "到期" and whose
// due time (column 6) is at or before the current minute (read afresh for every row). So a row
// whose minute passed while the machine slept, the process was stopped, the clock jumped or the
// scan was switched off is announced at the next tick, its pop-up saying that it comes late. When
// one tick has more than kLateListAbove such late rows (a start after a night or a weekend), they
// share one window in one slot; rows announced in their own minute keep pop-ups of their own. An
// announced row is coloured (yellow text on the highlight colour, columns 1 to the last), marked
// "到期" and written to the announced state, so it is never announced again, also not after a
// reload or a restart.
//
// A row is marked only once a slot has taken it. When no slot is free (or ts.ini cannot be
// written), the row and the ones after it stay as they are and are tried again at the next tick;
// the user gets one notice per tick at most, which never takes the keyboard focus. When ts.ini
// does not exist yet, the scan first creates the slot table for the screen, silently.
//
// Earlier days. The announced state keeps the minute up to which every due row was announced (a
// tick that leaves no due row waiting moves it to its minute). Records of the days before today
// that fell due after that minute, at most kCatchUpDays days back, and were never announced, are
// read from a.bz at start-up; at a day change the old day's rows still waiting stay. Such rows
// stand in the list after today's rows, through every reload, until they are announced (late,
// with their date). Rows left unannounced by 停止提醒 end with their day instead.

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/clock.h"

#include "reminders/announcedstate.h"
#include "reminders/slottable.h"

class MessageService;
class PopupOpener;
class RecordGrid;
class ScreenMetrics;

// The ten fields of a grid row joined by commas: the record's text and identity.
QString recordTextOf(const RecordGrid& grid, int row);
// The batch of a grid row as the pop-ups' headlines name it (see batchSummary()).
QString batchSummaryOf(const RecordGrid& grid, int row);

class ReminderEngine {
  public:
    static constexpr int kCatchUpDays = 7;
    static constexpr int kLateListAbove = 3;

    ReminderEngine(RecordGrid& grid, const Clock& clock, const ScreenMetrics& screen,
                   MessageService& messages, PopupOpener& popups, QString profilePath,
                   QString announcedPath, QString dataFilePath = {});

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

    // After every load of today's list for the day: forgets the announcements due more than
    // kCatchUpDays days before it, appends the rows of earlier days still to be announced and
    // marks the rows announced before, as the scan does but without a pop-up.
    void restoreMarks(const QDate& listDay);

    // The minutes from the day `from` (or from the minute after the last scan, when that is
    // later, and never more than kCatchUpDays days before `today`) to the end of the day before
    // `today`, as first and last "YYYY-MM-DD hh:mm"; nothing when that span is empty or no last
    // scan is kept.
    struct Span {
        QString first;
        QString last;
    };
    std::optional<Span> catchUpSpan(const QDate& from, const QDate& today) const;
    // The records of a grid filled by loadDueBetween() that were never announced join the rows of
    // earlier days.
    void addEarlierRecords(const RecordGrid& loaded);
    // Appends the rows of earlier days still to be announced to the list loaded before they were
    // read.
    void appendEarlierRows();

    // The clock has passed into another day; today's list is reloaded next. The rows whose minute
    // has passed and that were never announced stay for the new list, with those of the days in
    // between read from a.bz; when `silenced` (停止提醒) they end with their day instead.
    void changeDay(const QDate& newDay, bool silenced);

    // Once a minute while the scan does not run: when no row due by now waits (nothing is due, or
    // everything due was announced), the program has watched up to now.
    void watch();
    // While held (a catch-up still being read, or one that could not read a.bz), the last-scan
    // minute does not move.
    void holdLastScan(bool hold) { m_holdLastScan = hold; }
    // Writes the last-scan minute if it changed (the program ends).
    void saveLastScan();

    // A record just saved in the editor (its eleven fields) joins today's list when it falls due
    // today. True when it joined.
    bool addRecord(const QStringList& fields);

    // A record of a.bz corrected in the editor (eleven fields before and after): when only fields
    // other than its due time changed, an announcement of it stays with the corrected record.
    void carryAnnouncement(const QStringList& before, const QStringList& after);

    // The rows not yet announced that fall due in the next `minutes` minutes and were not named
    // by an earlier call; none for 0.
    QList<int> advanceNotices(int minutes);

    const SlotTable& slotTable() const { return m_slots; }
    const AnnouncedState& announced() const { return m_announced; }
    const QDate& listDay() const { return m_listDay; }

  private:
    struct DueRow {
        int row;
        QString minute;
        QString now;
    };

    // Whether the row carries the due mark.
    bool marked(int row) const;
    void mark(int row);
    // The first free slot, filled with the row's record; the pop-up's lines, or nothing (the user
    // told) when no slot could take it.
    std::optional<QStringList> fillSlot(int row, ReminderSlot* slot);
    // The late rows of the tick in one window; false when no slot took them.
    bool announceLateList(const QList<DueRow>& rows);
    void announced(const DueRow& due);
    // Appends the earlier days' rows still to be announced, taking their announcements from the
    // counts.
    void appendEarlierRows(QHash<QString, int>& left);
    // Every row due by the minute has been announced: the last-scan minute moves there; the state
    // is written when rows were announced, or the minute is worth keeping.
    void watchedUpTo(const QString& minute, bool announced);
    // One notice per tick at most.
    void notice(const QString& text);
    void saveAnnounced();
    QString recordText(int row) const { return recordTextOf(m_grid, row); }

    RecordGrid& m_grid;
    const Clock& m_clock;
    const ScreenMetrics& m_screen;
    MessageService& m_messages;
    PopupOpener& m_popups;
    SlotTable m_slots;
    AnnouncedState m_announced;
    QString m_dataFilePath;
    QString m_dueMark;
    MinuteText m_minuteText;  // "YYYY-MM-DD hh:mm"
    bool m_noticeGiven = false;
    QDate m_listDay;
    // The records (eleven fields) of earlier days that stand after today's rows.
    QList<QStringList> m_earlier;
    bool m_holdLastScan = false;
    QString m_savedLastScan;         // as the file holds it
    QSet<QString> m_advanceNoticed;  // due minute and record of each row named in advance
};
