#pragma once
// The main window's status line: how today's list stands, read off the record grid at a minute.
// QtCore only.
//
//     今日 12 批 · 已到 7 · 下一批 14:12
//
// "今日" counts the rows of the list's day, "已到" those of them announced (marked "到期") and
// "下一批" is the earliest minute still ahead. Rows whose minute has passed and that wait for their
// pop-up (the rows of earlier days among them) add "待补发 N 批"; with an advance notice of M
// minutes the rows due within M minutes add "即将到期 N 批（hh:mm）". When no scan runs while rows
// are still to be announced, the line begins with "提醒已停止" and is shown in red.

#include <QDate>
#include <QString>

class RecordGrid;

struct ReminderStatus {
    int today = 0;
    int arrived = 0;
    QString next;  // "hh:mm", or empty
    int waiting = 0;
    int pending = 0;  // rows of any day still to be announced
    int soon = 0;
    QString soonFirst;  // "hh:mm" of the first of them
    bool stopped = false;

    // Counts the grid's rows at `now` ("YYYY-MM-DD hh:mm") for the list's day.
    static ReminderStatus of(const RecordGrid& grid, const QString& now, const QDate& listDay,
                             int advanceMinutes);

    // The line, and whether it is shown in red.
    QString text() const;
    bool alarming() const { return stopped && pending > 0; }
};
