#pragma once
// Filling a record grid from a.bz. QtCore only.
//
// Both loaders walk the file's lines in order, split each at its commas and put field k into
// column k + 1 of a new row appended at the end; the line's last field is not placed (an eleven-
// field line as the editor writes it fills columns 1 to 10 and leaves the due mark empty; a twelve-
// field line fills the due-mark column too). Fields beyond the grid's last column are dropped.
// Afterwards the rows are numbered 1, 2, ... and the trailing empty row keeps an empty number.
//
// The main window's loader takes the lines whose due time (field 5) contains today's date. The
// editor's loader takes every line it can hold intact and carries the rest through unchanged, so
// that saving the editor's grid never loses a record.
//
// Both read the file in blocks and look at its raw bytes: commas, digits and "-" never occur inside
// a two-byte GBK character (its second byte is 0x40 or more), so fields and dates are found without
// decoding. A taken line of valid GBK goes into the grid as its bytes; only a line that is not GBK
// is decoded first, as a whole, the way it always was.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <functional>

#include "platform/textfile.h"

class Clock;
class RecordGrid;

struct LoadReport {
    FileStatus status = FileStatus::Missing;
    QString error;  // in Chinese, when the file exists but could not be read
    int taken = 0;
};

// A line of a.bz that the editor's grid cannot hold intact: it is written back unchanged, after
// the first `afterRecords` records of the grid.
struct CarriedLine {
    int afterRecords = 0;
    QByteArray bytes;
};

// Main window: records due today. Precondition: the grid holds no record rows.
LoadReport loadDueToday(RecordGrid& grid, const QString& dataFilePath, const Clock& clock);

// Told how many of the file's bytes have been read; returns false to stop reading.
using LoadProgress = std::function<bool(qint64 done, qint64 total)>;

// Editor: every record. Precondition: the grid holds no record rows. A load stopped by `progress`
// or by a read error leaves the grid and `carried` as they were.
LoadReport loadAllRecords(RecordGrid& grid, const QString& dataFilePath,
                          QList<CarriedLine>* carried, const LoadProgress& progress = {});

// The two loaders over bytes already read (the whole file), for the fuzzers; they take what the
// loaders above take from a file holding the bytes. The number of records taken.
int loadDueTodayFromBytes(RecordGrid& grid, QByteArrayView bytes, const QDate& day);
int loadAllRecordsFromBytes(RecordGrid& grid, const QByteArray& bytes, QList<CarriedLine>* carried);

// The reload command: removes every numbered row (keeping the heading and the trailing empty row),
// then runs loadDueToday().
LoadReport reloadDueToday(RecordGrid& grid, const QString& dataFilePath, const Clock& clock);

// Appends a record before the trailing empty row as the loaders place a line: field k in column
// k + 1, except the last field (an empty due mark in a line of a.bz); what does not fit is dropped.
void appendRecordRow(RecordGrid& grid, const QStringList& fields);

// Numbers rows 1 to the last row and empties the number of the last row (unless it is row 0).
void numberRows(RecordGrid& grid);

// Whether an editor-loaded line (decoded, its raw bytes beside it) round-trips through the grid.
bool editorHoldsIntact(const QStringList& fields, const QByteArray& raw);
