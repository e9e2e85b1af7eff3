#pragma once
// What the a.bz fuzzers check, in memory and through a file alike: the lines and fields of the
// bytes, the shape every load leaves, and where the loaders put each line. Today is 2024-03-07
// for the main window's loader; the seeds hold lines due that day.

#include <QList>
#include <QStringList>

#include "fuzzsupport.h"
#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"

namespace recordchecks {

inline const QDate kToday(2024, 3, 7);

struct Line {
    QByteArray bytes;
    QStringList fields;
};

inline RecordGrid freshGrid(int cols) {
    RecordGrid grid(2, cols);
    const QStringList& headings = recordHeadings();
    for (int c = 0; c < headings.size() && c < cols; ++c) grid.setTextMatrix(0, c, headings.at(c));
    return grid;
}

// What every load leaves: the headings, records numbered 1 to k, one empty row without a number.
inline void checkShape(const RecordGrid& grid, int taken) {
    fuzzCheck(grid.rows() == taken + 2, "the grid has taken + 2 rows");
    for (int c = 0; c < grid.cols(); ++c) {
        fuzzCheck(grid.textMatrix(0, c) == recordHeadings().value(c), "headings stay");
        fuzzCheck(grid.textMatrix(grid.rows() - 1, c).isEmpty(), "the last row is empty");
    }
    for (int r = 1; r <= taken; ++r)
        fuzzCheck(grid.textMatrix(r, 0) == QString::number(r), "rows are numbered 1, 2, ...");
}

inline bool hasContent(const QStringList& fields) {
    for (const QString& f : fields)
        if (!f.isEmpty()) return true;
    return false;
}

inline QList<Line> splitFile(const QByteArray& bytes) {
    const QList<QByteArray> raw = splitLines(bytes);
    qsizetype lineEnds = 0;
    for (char c : bytes) lineEnds += (c == '\r' || c == '\n');
    fuzzCheck(raw.size() <= lineEnds + 1, "no more lines than line ends plus one");
    fuzzCheck(bytes.isEmpty() == raw.isEmpty(), "only an empty file has no lines");

    QList<Line> lines;
    for (const QByteArray& r : raw) {
        fuzzCheck(!r.contains('\r') && !r.contains('\n'), "a line holds no line end");
        const QString text = gbk::decode(r);
        Line line{r, splitRecordLine(text)};
        if (text.isEmpty()) {
            fuzzCheck(line.fields.isEmpty(), "an empty line has no fields");
        } else {
            fuzzCheck(line.fields.size() == text.count(u',') + 1, "one field more than commas");
            fuzzCheck(joinRecordLine(line.fields) == text, "join undoes split");
        }
        lines.append(line);
    }
    return lines;
}

// The main window's list: taken exactly as decoding each line and splitting it at its commas
// would take them.
inline void checkDueToday(const RecordGrid& grid, int taken, const QList<Line>& lines) {
    checkShape(grid, taken);
    const QString today = kToday.toString(Qt::ISODate);
    QList<QStringList> expected;
    for (const Line& line : lines)
        if (line.fields.size() > 5 && line.fields.at(5).contains(today)) expected << line.fields;
    fuzzCheck(taken == expected.size(), "the lines whose due time holds today are taken");
    for (int r = 1; r <= taken; ++r) {
        const QStringList& fields = expected.at(r - 1);
        for (int c = 1; c < grid.cols(); ++c)
            fuzzCheck(grid.textMatrix(r, c) == (c < fields.size() ? fields.at(c - 1) : QString()),
                      "a taken line's fields but the last land in columns 1, 2, ...");
    }
}

// The editor's grid: each line with any content became a record row or a carried line, in file
// order.
inline void checkEditor(const RecordGrid& grid, int taken, const QList<CarriedLine>& carried,
                        const QList<Line>& lines) {
    checkShape(grid, taken);
    int row = 0;
    qsizetype next = 0;
    for (const Line& line : lines) {
        if (!hasContent(line.fields)) continue;
        if (editorHoldsIntact(line.fields, line.bytes)) {
            ++row;
            fuzzCheck(row <= taken, "every intact line is taken");
            for (int k = 0; k < SpecimenRecord::kFieldCount; ++k) {
                const QString& cell = grid.textMatrix(row, k + 1);
                fuzzCheck(cell == (k + 1 < line.fields.size() ? line.fields.at(k) : QString()),
                          "a taken line's fields land in columns 1 to 10");
            }
        } else {
            fuzzCheck(next < carried.size(), "every other line with content is carried");
            fuzzCheck(carried.at(next).bytes == line.bytes, "a carried line keeps its bytes");
            fuzzCheck(carried.at(next).afterRecords == row, "a carried line keeps its place");
            ++next;
        }
    }
    fuzzCheck(row == taken && next == carried.size(), "nothing else is loaded");
}

// Two loads give the same rows.
inline void checkSameRows(const RecordGrid& a, const RecordGrid& b) {
    fuzzCheck(a.rows() == b.rows(), "the same number of rows");
    for (int r = 1; r < a.rows(); ++r)
        for (int c = 0; c < a.cols(); ++c)
            fuzzCheck(a.textMatrix(r, c) == b.textMatrix(r, c), "the same cells");
}

}  // namespace recordchecks
