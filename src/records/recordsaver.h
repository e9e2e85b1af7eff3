#pragma once
// Saving the editor's record grid to a.bz (baocuns). QtCore only.
//
// Every grid row below the heading, the trailing empty row included, becomes one line: the cells
// of columns 1 to the last column joined by ",", unchanged, without quotes. Lines are separated by
// CR LF and the last line has no line end, so a grid without records is saved as ten commas and
// nothing else. Text is written in GBK. The lines the editor's loader could not hold intact
// (CarriedLine) are written back byte for byte at their places among the records. The file is
// replaced atomically: when the save fails, a.bz stays exactly as it was.

#include <QByteArray>
#include <QList>
#include <QString>

#include "records/recordloader.h"

class QSaveFile;
class RecordGrid;

struct SaveResult {
    bool ok = false;
    QString error;  // the reason, in Chinese, when the save failed
};

// Hands the bytes of the data file for the grid and the carried lines to `write`, in pieces;
// false as soon as a write fails. Record rows loaded from a.bz are written as the bytes they were
// read from, so a save costs little more than writing the file.
bool writeRecordFile(const RecordGrid& grid, const QList<CarriedLine>& carried,
                     const ByteWriter& write);

// The same bytes in one piece.
QByteArray recordFileBytes(const RecordGrid& grid, const QList<CarriedLine>& carried);

// Writes recordFileBytes() to the data file.
SaveResult baocuns(const RecordGrid& grid, const QList<CarriedLine>& carried,
                   const QString& dataFilePath);

// The same through a save file the caller made.
SaveResult baocuns(const RecordGrid& grid, const QList<CarriedLine>& carried, QSaveFile& file);
