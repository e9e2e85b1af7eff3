#pragma once
// The commands that change today's list: a double click removes the selected row from the list
// (shanchuxuanzhong), 删除过期数据 removes the fired rows from the list and their lines from a.bz
// (delgqshuju), and 数据初始化 empties a.bz after the user confirms it.

#include <QObject>

class MainWindow;
class ReminderSwitch;

class RecordMaintenance : public QObject {
    Q_OBJECT
  public:
    RecordMaintenance(MainWindow& window, ReminderSwitch& reminderSwitch);

    void shanchuxuanzhong();
    void deleteExpired();   // 删除过期数据
    void initialiseData();  // 数据初始化

  private:
    // Removes the marked rows and their lines; false (after telling the user) when a.bz could
    // not be read or written, leaving the file and the list as they were.
    bool delgqshuju();

    MainWindow& m_window;
    ReminderSwitch& m_switch;
};
