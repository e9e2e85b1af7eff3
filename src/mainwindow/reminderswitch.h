#pragma once
// 开启提醒 (kq) and 停止提醒 (bg): the two-state switch of the due scan. The scan runs while the
// main window's Timer1 has an interval above 0; after either command exactly one of the two items
// is enabled.

#include <QObject>

class MainWindow;

class ReminderSwitch : public QObject {
    Q_OBJECT
  public:
    explicit ReminderSwitch(MainWindow& window);

    // 开启提醒: starts the scan with the scan interval setting, when records are due today.
    void start();
    // 停止提醒: stops the scan; tells the user so even when it was stopped already.
    void stop();

  private:
    MainWindow& m_window;
};
