#include "records/recordloader.h"

#include <algorithm>

#include "platform/bytesearch.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"

namespace {

constexpr int kDueTimeField = recordcolumns::kDueTime - 1;

// The row that was the trailing empty row, after a new trailing row has been appended.
int appendRow(RecordGrid& grid) {
    grid.addItem();
    return grid.rows() - 2;
}

// Back to the rows a load started with: the records it appended go, the trailing row is empty.
void dropLoadedRows(RecordGrid& grid, int rowsBefore) {
    grid.setRows(rowsBefore - 1);
    grid.setRows(rowsBefore);
}

// A taken line of the main window's list: fields 0 .. n-2 into columns 1 .. n-1, dropping what
// does not fit.
void placeLine(RecordGrid& grid, QByteArrayView line) {
    if (!gbk::isValid(line)) return appendRecordRow(grid, splitRecordLine(gbk::decode(line)));
    const qsizetype lastComma = line.lastIndexOf(',');
    grid.setRecordCells(appendRow(grid), line.first(qMax<qsizetype>(lastComma, 0)));
}

// Takes the lines of a block whose field 5 contains the date. A line of the block ends at CR, LF
// or the block's end.
int takeDueLines(RecordGrid& grid, QByteArrayView block, const QByteArray& date) {
    const char* const begin = block.data();
    const char* const end = begin + block.size();
    auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
    int taken = 0;
    // The line of the last hit, and the commas between its start and `counted`, so that many
    // hits in one long line cost no more than one pass over it.
    const char* lineStart = end;
    const char* lineEnd = end;
    const char* counted = end;
    qsizetype commas = 0;
    for (const char* p = begin; p < end;) {
        const char* hit = findBytes(p, end, date);
        if (hit == end) break;
        if (hit >= lineEnd || hit < lineStart) {
            lineStart = hit;
            while (lineStart > begin && !isLineEnd(lineStart[-1])) --lineStart;
            lineEnd = std::find_if(hit, end, isLineEnd);
            counted = lineStart;
            commas = 0;
        }
        commas += std::count(counted, hit, ',');
        counted = hit;
        if (commas == kDueTimeField) {
            placeLine(grid, QByteArrayView(lineStart, lineEnd));
            ++taken;
        }
        // A hit before field 5 may be followed by one in it; after field 5 the line is done.
        p = commas < kDueTimeField ? hit + 1 : lineEnd;
    }
    return taken;
}

// Eleven fields, the last one empty, valid GBK: the editor's grid writes it back as read.
bool holdsIntact(QByteArrayView line, qsizetype commas) {
    return commas == SpecimenRecord::kFieldCount - 1 && line.endsWith(',') && gbk::isValid(line);
}

QByteArray dateText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
}

// Takes every line of a block the editor's grid can hold; the grid keeps the block and its record
// rows refer to it, so nothing is copied or decoded. The other lines with content are carried.
void takeAllLines(RecordGrid& grid, const QByteArray& block, QList<CarriedLine>* carried,
                  int& taken) {
    int blockIndex = -1;
    forEachLine(block, [&](QByteArrayView line) {
        const qsizetype commas = std::count(line.begin(), line.end(), ',');
        if (commas == line.size()) return;  // empty lines and the trailing line of commas
        if (holdsIntact(line, commas)) {
            if (blockIndex < 0) blockIndex = grid.addBlock(block);
            grid.setRecordCells(appendRow(grid), blockIndex, line.data() - block.constData(),
                                line.size());
            ++taken;
        } else if (carried) {
            carried->append(CarriedLine{taken, line.toByteArray()});
        }
    });
}

}  // namespace

void numberRows(RecordGrid& grid) {
    const int last = grid.rows() - 1;
    for (int r = 1; r <= last; ++r) grid.setTextMatrix(r, 0, QString::number(r));
    if (last > 0) grid.setTextMatrix(last, 0, QString());
}

LoadReport loadDueToday(RecordGrid& grid, const QString& dataFilePath, const Clock& clock) {
    RecordGrid::BulkUpdate bulk(grid);
    const int rowsBefore = grid.rows();
    LoadReport report;
    QDate day = clock.now().date();
    // A load that runs over midnight is done again for the new day, so the list is one day's.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt > 0) dropLoadedRows(grid, rowsBefore);
        LineBlockReader reader(dataFilePath);
        report = LoadReport{reader.status(), reader.error(), 0};
        if (!day.isValid()) break;  // no valid time: nothing is due
        const QByteArray date = dateText(day);
        QByteArray block;
        while (reader.next(block)) report.taken += takeDueLines(grid, block, date);
        if (reader.status() != FileStatus::Ok) {
            dropLoadedRows(grid, rowsBefore);
            report = LoadReport{reader.status(), reader.error(), 0};
        }
        const QDate now = clock.now().date();
        if (now == day || !now.isValid()) break;
        day = now;
    }
    numberRows(grid);
    return report;
}

void appendRecordRow(RecordGrid& grid, const QStringList& fields) {
    const int row = appendRow(grid);
    const int placed = qMin(static_cast<int>(fields.size()) - 1, grid.cols() - 1);
    for (int k = 0; k < placed; ++k) grid.setTextMatrix(row, k + 1, fields.at(k));
}

bool editorHoldsIntact(const QStringList& fields, const QByteArray& raw) {
    return fields.size() == SpecimenRecord::kFieldCount && fields.last().isEmpty() &&
           gbk::isValid(raw);
}

LoadReport loadAllRecords(RecordGrid& grid, const QString& dataFilePath,
                          QList<CarriedLine>* carried, const LoadProgress& progress) {
    LineBlockReader reader(dataFilePath);
    LoadReport report{reader.status(), reader.error(), 0};
    RecordGrid::BulkUpdate bulk(grid);
    const int rowsBefore = grid.rows();
    const qsizetype carriedBefore = carried ? carried->size() : 0;
    auto undo = [&] {
        dropLoadedRows(grid, rowsBefore);
        if (carried) carried->resize(carriedBefore);
        report.taken = 0;
    };
    QByteArray block;
    while (reader.next(block)) {
        takeAllLines(grid, block, carried, report.taken);
        if (progress && !progress(reader.done(), reader.size())) {
            undo();
            return report;
        }
    }
    if (reader.status() != FileStatus::Ok) {
        undo();
        report.status = reader.status();
        report.error = reader.error();
    }
    numberRows(grid);
    return report;
}

int loadDueTodayFromBytes(RecordGrid& grid, QByteArrayView bytes, const QDate& day) {
    RecordGrid::BulkUpdate bulk(grid);
    const int taken = day.isValid() ? takeDueLines(grid, bytes, dateText(day)) : 0;
    numberRows(grid);
    return taken;
}

int loadAllRecordsFromBytes(RecordGrid& grid, const QByteArray& bytes,
                            QList<CarriedLine>* carried) {
    RecordGrid::BulkUpdate bulk(grid);
    int taken = 0;
    takeAllLines(grid, bytes, carried, taken);
    numberRows(grid);
    return taken;
}

LoadReport reloadDueToday(RecordGrid& grid, const QString& dataFilePath, const Clock& clock) {
    {
        RecordGrid::BulkUpdate bulk(grid);
        for (int r = grid.rows() - 1; r >= 1; --r)
            if (!grid.textMatrix(r, 0).isEmpty()) grid.removeItem(r);
    }
    return loadDueToday(grid, dataFilePath, clock);
}
