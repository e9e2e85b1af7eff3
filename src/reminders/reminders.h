#pragma once
// The reminder engine wired into the main window in one call:
// - at start-up, the slots an earlier run left busy are freed (no pop-up of ours is open yet);
// - 提示初始化 (tscsh) builds the slot table, each tick of Timer1 runs the due scan;
// - every load of today's list gets back the marks of the rows announced before, and a running
//   scan then ticks at once, so rows whose minute passed while the program was closed are
//   announced without waiting a whole interval;
// - a record saved in the editor that falls due today joins the list, and the scan starts if
//   needed; records changed, deleted or put back in the editor reload the list, a correction
//   that keeps the due time keeping its announcement;
// - when the local date changes, the rows of the old day whose minute has passed are announced,
//   then today's list is loaded afresh; 停止提醒 ends with its day;
// - 退出 and the close box ask first while rows of today's list are still to be announced, and
//   the program's end marks the slots of the pop-ups still open free.

#include <QDate>
#include <QObject>
#include <memory>

class MainWindow;
class QTimer;
class ReminderEngine;
class ReminderPopupFactory;
class ScreenMetrics;

class Reminders : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDayCheckIntervalMs = 1000;

    // The screen metrics must outlive the window.
    Reminders(MainWindow& window, const ScreenMetrics& screen);
    ~Reminders() override;

    ReminderEngine& engine() { return *m_engine; }
    ReminderPopupFactory& popups() { return *m_popups; }

    // Reloads today's list when the clock's date is no longer the list's.
    void checkDay();
    // Whether the program may end now (asks the user while rows are still to be announced).
    bool confirmExit();

  private:
    void listLoaded();
    void recordAdded(const QStringList& fields);
    void recordsChanged(const QList<QStringList>& before, const QList<QStringList>& after);

    // The clock's date as the scan reads its minute (the cheap clock). That never runs ahead of
    // the clock the loader of today's list reads, so once it shows a new day the load does too.
    QDate clockDate() const;

    MainWindow& m_window;
    std::unique_ptr<ReminderPopupFactory> m_popups;
    std::unique_ptr<ReminderEngine> m_engine;
    QTimer* m_dayTimer = nullptr;
    // The day for which today's list was last asked: a load that ends after midnight may have
    // read either day, and then the day check loads it once more.
    QDate m_listDay;
    bool m_newDay = false;
};

// Creates the reminder engine as a child of the window and connects it.
Reminders* installReminders(MainWindow& window, const ScreenMetrics& screen);
