#pragma once
// The week ahead: the records of a.bz due from today 00:00 through the end of the last day of the
// range, sorted by due time and grouped by date, after the overdue records of earlier days that are
// still in the file. Selected from the file's raw bytes by the due time's ASCII digits; only the
// lines shown are ever decoded. QtCore only.

#include <QByteArray>
#include <QDate>
#include <QList>

#include "planning/rawrecordline.h"

struct WeekAheadEntry {
    qint64 dueKey = 0;  // rawline::dueKey() of the due time
    rawline::Span line;
    qint64 groups = 0;  // 组数, 0 when it is not a number
};

struct WeekAheadGroup {
    QDate date;     // invalid for the group of overdue records
    int first = 0;  // index of its first entry
    int count = 0;
    qint64 groups = 0;  // sum of 组数
};

struct WeekAhead {
    QDate today;                    // the first day of the range
    int days = 0;                   // its length
    QList<WeekAheadEntry> entries;  // overdue first, then by due time; ties in file order
    QList<WeekAheadGroup> groups;   // in the order of the entries
};

// Records due on today and the following days - 1 days, and the overdue ones before today.
WeekAhead selectWeekAhead(QByteArrayView fileBytes, QDate today, int days);

// The number the 组数 field begins with (read as typed numbers are), 0 when it begins with none.
qint64 groupCountOf(QByteArrayView field);
