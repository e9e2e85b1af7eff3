#pragma once
// The reminder engine wired into the main window in one call:
// - at start-up, the slots an earlier run left busy are freed (no pop-up of ours is open yet), and
//   the records of the days the program did not watch are read beside today's list;
// - 提示初始化 (tscsh) builds the slot table, each tick of Timer1 runs the due scan, names the
//   batches due within the advance notice in a tray message and updates the status line;
// - every load of today's list gets back the marks of the rows announced before and the earlier
//   days' rows still to be announced, and a running scan then ticks at once, so rows whose minute
//   passed while the program was closed are announced without waiting a whole interval;
// - a record saved in the editor that falls due today joins the list, and the scan starts if
//   needed; records changed, deleted or put back in the editor reload the list, a correction
//   that keeps the due time keeping its announcement;
// - when the local date changes, the rows of the old day whose minute has passed are announced,
//   those left waiting stay, then today's list is loaded afresh; 停止提醒 ends with its day;
// - 全部关闭 (运行 menu and the tray's menu) closes every pop-up and frees its slot;
// - the status line under the list shows how today's list stands, in red when no scan runs while
//   rows are still to be announced;
// - 退出 and the close box ask first while rows are still to be announced; the close box also
//   while batches fall due in the coming days and the program does not start at login; the
//   program's end marks the slots of the pop-ups still open free and keeps the minute the scan
//   watched up to.

#include <QDate>
#include <QObject>
#include <functional>
#include <memory>

#include "platform/clock.h"

class AlertSound;
class MainWindow;
class QLabel;
class QTimer;
class RecordFileLoad;
class ReminderEngine;
class ReminderPopupFactory;
class ScreenMetrics;

class Reminders : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDayCheckIntervalMs = 1000;
    // How far ahead the exit question looks for batches due.
    static constexpr int kExitLookAheadDays = 7;

    // The screen metrics and the sound must outlive the window.
    Reminders(MainWindow& window, const ScreenMetrics& screen, AlertSound& sound);
    ~Reminders() override;

    ReminderEngine& engine() { return *m_engine; }
    ReminderPopupFactory& popups() { return *m_popups; }
    QLabel* statusLine() const { return m_status; }

    // Whether the program starts at login, for the exit question; unset, it is not asked.
    void setAutostartQuery(std::function<bool()> query) { m_autostart = std::move(query); }
    // Shows a message beside the status line (the tray's balloon), for the advance notice.
    void setTrayMessenger(std::function<void(const QString&, const QString&)> messenger) {
        m_trayMessage = std::move(messenger);
    }

    // Reloads today's list when the clock's date is no longer the list's; updates the status line.
    void checkDay();
    // Whether the program may end now (asks the user while rows are still to be announced).
    bool confirmExit();
    void updateStatusLine();
    // Waits until today's list and the earlier days' records of the start-up are in (tests).
    void waitForStartUp();

  private:
    void tick();
    // A tick now when the scan runs; else the engine notes what it has watched.
    void scanOnce();
    void listLoaded();
    void caughtUp();
    void recordAdded(const QStringList& fields);
    void recordsChanged(const QList<QStringList>& before, const QList<QStringList>& after);
    void readSettings();
    void announceAdvance();
    // The batches due in the coming days, as a sentence for the exit question, or nothing.
    QString comingBatches() const;
    // The clock's minute, "YYYY-MM-DD hh:mm"; empty without a valid time.
    QString minuteNow() const;

    // The clock's date as the scan reads its minute (the cheap clock). That never runs ahead of
    // the clock the loader of today's list reads, so once it shows a new day the load does too.
    QDate clockDate() const;

    MainWindow& m_window;
    mutable MinuteText m_minuteText;  // the clock's minute, formatted once a minute
    std::unique_ptr<ReminderPopupFactory> m_popups;
    std::unique_ptr<ReminderEngine> m_engine;
    QTimer* m_dayTimer = nullptr;
    QLabel* m_status = nullptr;
    QString m_statusMinute;  // the minute the status line was last worked out for
    // The records of earlier days being read at start-up.
    RecordFileLoad* m_catchUp = nullptr;
    bool m_listReady = false;
    // The day for which today's list was last asked: a load that ends after midnight may have
    // read either day, and then the day check loads it once more.
    QDate m_listDay;
    bool m_newDay = false;
    int m_advanceMinutes = 0;
    std::function<bool()> m_autostart;
    std::function<void(const QString&, const QString&)> m_trayMessage;
};

// Creates the reminder engine as a child of the window and connects it.
Reminders* installReminders(MainWindow& window, const ScreenMetrics& screen, AlertSound& sound);
