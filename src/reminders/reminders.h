#pragma once
// The reminder engine wired into the main window in one call: 提示初始化 (tscsh) builds the slot
// table, each tick of Timer1 runs the due scan, the due records open ReminderPopup windows, and the
// program's exit first marks the slots of the pop-ups still open free.

#include <QObject>
#include <memory>

class MainWindow;
class ReminderEngine;
class ReminderPopupFactory;
class ScreenMetrics;

class Reminders : public QObject {
    Q_OBJECT
  public:
    // The screen metrics must outlive the window.
    Reminders(MainWindow& window, const ScreenMetrics& screen);
    ~Reminders() override;

    ReminderEngine& engine() { return *m_engine; }
    ReminderPopupFactory& popups() { return *m_popups; }

  private:
    std::unique_ptr<ReminderPopupFactory> m_popups;
    std::unique_ptr<ReminderEngine> m_engine;
};

// Creates the reminder engine as a child of the window and connects it.
Reminders* installReminders(MainWindow& window, const ScreenMetrics& screen);
