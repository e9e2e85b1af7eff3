#pragma once
// Writing new equivalent ages and due times into a.bz: in each changed line only field 5 (龄期) and
// field 6 (到期时间) are replaced; every other byte of the file, lines the editor cannot show
// included, stays as it was. QtCore only.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "planning/rawrecordline.h"

class QSaveFile;

struct DueTimeChange {
    rawline::Span line;  // the record's line in the bytes the change was worked out on
    QByteArray age;      // new 龄期, ASCII digits
    QByteArray dueTime;  // new 到期时间, "YYYY-MM-DD hh:mm"
};

// The bytes with the changes made. A line with fewer than six fields is left as it is.
QByteArray applyDueTimeChanges(const QByteArray& bytes, QList<DueTimeChange> changes);

struct DueTimeWrite {
    bool ok = false;
    bool fileChanged = false;  // a.bz no longer held the bytes the changes were worked out on
    QString error;             // in Chinese, when not ok
};

// Replaces a.bz with applyDueTimeChanges(expected, changes), atomically, but only while a.bz still
// holds exactly `expected`; otherwise, and on any failure, a.bz is left as it was. The data file's
// lock is held throughout (waiting for another program's write), and a.bz is backed up (at `now`)
// before it is replaced.
DueTimeWrite writeDueTimeChanges(const QString& dataFilePath, const QByteArray& expected,
                                 const QList<DueTimeChange>& changes, const QDateTime& now);

// The same through a save file the caller made.
DueTimeWrite writeDueTimeChanges(QSaveFile& file, const QByteArray& expected,
                                 const QList<DueTimeChange>& changes, const QDateTime& now);
