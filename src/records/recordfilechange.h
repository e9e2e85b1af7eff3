#pragma once
// One change of a.bz as the editor makes it: a read-modify-write of chosen lines under the data
// file's lock. QtCore only.
//
// Under the lock the file is read afresh and its stamp compared with the one the caller read it
// at. When they agree, the changes land exactly where they were worked out; when another program
// changed the file since, they are applied to the fresh file as far as that is sound (a line to
// change or remove is found by its bytes, an insertion becomes an append), and the caller is told,
// so that it shows the fresh file; a change whose line is gone is refused and nothing is written.
// Other programs' lines are never dropped. A backup copy is made first when asked, and the file is
// replaced atomically: on any failure a.bz stays as it was.

#include <QDateTime>
#include <QList>
#include <QString>

#include "records/datafileguard.h"
#include "records/recordlinechanges.h"

class QSaveFile;

struct RecordFileChange {
    enum class Backup { None, FirstOfTheDay };

    QList<LineChange> changes;
    FileStamp readStamp;  // the stamp of the file the changes were worked out on
    // False when the caller's own copy of the lines is no longer known to be the file's, line for
    // line, even with an unchanged stamp (it was read afresh after another program's change).
    bool linesExact = true;
    Backup backup = Backup::None;
    QDateTime now;  // names the backup copy
};

struct RecordFileChangeResult {
    bool ok = false;
    bool fileWasChanged = false;  // another program had changed a.bz since readStamp
    QString error;                // in Chinese, when not ok
    FileStamp stamp;              // a.bz's stamp after the write
    QList<LineChange> inverse;    // the changes that undo this one
};

// Makes the change in the data file.
RecordFileChangeResult changeRecordFile(const QString& dataFilePath,
                                        const RecordFileChange& change);

// The same through a save file the caller made for the data file (tests pass one that fails).
RecordFileChangeResult changeRecordFile(QSaveFile& file, const RecordFileChange& change);
