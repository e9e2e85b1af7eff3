#pragma once
// The commands that change today's list: a double click removes the selected row from the list
// (shanchuxuanzhong; a row that has not fired only after a question), 删除过期数据 removes the
// fired rows from the list and one line each from a.bz (delgqshuju), and 数据初始化 empties a.bz.
// Both file commands ask first, back a.bz up and hold its lock while they rewrite it
// (DataFileChange).

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
    // Asks, then removes the marked rows and their lines; false when the user said no or (after
    // telling the user) a.bz could not be read, backed up or written, leaving the file and the
    // list as they were.
    bool delgqshuju();

    MainWindow& m_window;
    ReminderSwitch& m_switch;
};
