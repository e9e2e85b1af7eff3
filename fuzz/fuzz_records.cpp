// Arbitrary bytes as a.bz: line splitting, GBK decoding, field splitting, both loaders, and the
// editor's save followed by a second load, which must give back every record and every carried
// line. Today is 2024-03-07 for the main window's loader; the seeds hold lines due that day.

#include <QDate>
#include <QFile>
#include <QTime>
#include <cstdint>

#include "fuzzsupport.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/recordsaver.h"
#include "records/specimenrecord.h"

namespace {

const QString kToday = QStringLiteral("2024-03-07");
const QString kEmptyRowLine = QStringLiteral(",,,,,,,,,,");

struct Line {
    QByteArray bytes;
    QStringList fields;
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "a.bz can be written");
    fuzzCheck(file.write(bytes) == bytes.size(), "a.bz written whole");
}

RecordGrid freshGrid(int cols) {
    RecordGrid grid(2, cols);
    const QStringList& headings = recordHeadings();
    for (int c = 0; c < headings.size() && c < cols; ++c) grid.setTextMatrix(0, c, headings.at(c));
    return grid;
}

// What every load leaves: the headings, records numbered 1 to k, one empty row without a number.
void checkShape(const RecordGrid& grid, const LoadReport& report) {
    fuzzCheck(report.status == FileStatus::Ok, "a.bz reads");
    fuzzCheck(grid.rows() == report.taken + 2, "the grid has taken + 2 rows");
    for (int c = 0; c < grid.cols(); ++c) {
        fuzzCheck(grid.textMatrix(0, c) == recordHeadings().value(c), "headings stay");
        fuzzCheck(grid.textMatrix(grid.rows() - 1, c).isEmpty(), "the last row is empty");
    }
    for (int r = 1; r <= report.taken; ++r)
        fuzzCheck(grid.textMatrix(r, 0) == QString::number(r), "rows are numbered 1, 2, ...");
}

bool hasContent(const QStringList& fields) {
    for (const QString& f : fields)
        if (!f.isEmpty()) return true;
    return false;
}

void checkCodec(const QByteArray& bytes, const QList<Line>& lines) {
    const QString text = gbk::decode(bytes);
    const bool valid = gbk::isValid(bytes);
    fuzzCheck(text.size() <= bytes.size(), "GBK never decodes to more characters than bytes");
    // The editor's loader tells valid lines by the absence of U+FFFD, so no GBK code may stand
    // for it.
    fuzzCheck(valid == !text.contains(QChar(QChar::ReplacementCharacter)),
              "only bad bytes decode to U+FFFD");
    if (valid) {
        fuzzCheck(gbk::canEncode(text), "decoded GBK can be encoded");
        fuzzCheck(gbk::encode(text) == bytes, "GBK round trip: encode(decode(x)) == x");
    }
    // CR and LF are never part of a two-byte GBK character, so the file is valid exactly when
    // every line is.
    bool everyLineValid = true;
    for (const Line& line : lines) everyLineValid = everyLineValid && gbk::isValid(line.bytes);
    fuzzCheck(valid == everyLineValid, "the file is valid GBK exactly when every line is");
}

QList<Line> splitFile(const QByteArray& bytes) {
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

void checkDueToday(const QString& path, const QList<Line>& lines) {
    static const FixedClock clock(QDateTime(QDate(2024, 3, 7), QTime(12, 0)));
    RecordGrid grid = freshGrid(recordcolumns::kMainGridColumns);
    const LoadReport report = loadDueToday(grid, path, clock);
    checkShape(grid, report);

    // Taken exactly as decoding each line and splitting it at its commas would take them.
    QList<QStringList> expected;
    for (const Line& line : lines)
        if (line.fields.size() > 5 && line.fields.at(5).contains(kToday)) expected << line.fields;
    fuzzCheck(report.taken == expected.size(), "the lines whose due time holds today are taken");
    for (int r = 1; r <= report.taken; ++r) {
        const QStringList& fields = expected.at(r - 1);
        for (int c = 1; c < grid.cols(); ++c)
            fuzzCheck(grid.textMatrix(r, c) == (c < fields.size() ? fields.at(c - 1) : QString()),
                      "a taken line's fields but the last land in columns 1, 2, ...");
    }
}

// Loads every record; checks that each line with any content became a record row or a carried
// line, in file order.
RecordGrid loadEditor(const QString& path, const QList<Line>& lines, QList<CarriedLine>* carried) {
    RecordGrid grid = freshGrid(recordcolumns::kEditorGridColumns);
    const LoadReport report = loadAllRecords(grid, path, carried);
    checkShape(grid, report);

    int row = 0;
    qsizetype next = 0;
    for (const Line& line : lines) {
        if (!hasContent(line.fields)) continue;
        if (editorHoldsIntact(line.fields, line.bytes)) {
            ++row;
            fuzzCheck(row <= report.taken, "every intact line is taken");
            for (int k = 0; k < SpecimenRecord::kFieldCount; ++k) {
                const QString& cell = grid.textMatrix(row, k + 1);
                fuzzCheck(cell == (k + 1 < line.fields.size() ? line.fields.at(k) : QString()),
                          "a taken line's fields land in columns 1 to 10");
            }
        } else {
            fuzzCheck(next < carried->size(), "every other line with content is carried");
            fuzzCheck(carried->at(next).bytes == line.bytes, "a carried line keeps its bytes");
            fuzzCheck(carried->at(next).afterRecords == row, "a carried line keeps its place");
            ++next;
        }
    }
    fuzzCheck(row == report.taken && next == carried->size(), "nothing else is loaded");
    return grid;
}

void checkSaveAndReload(const QString& path, const RecordGrid& grid,
                        const QList<CarriedLine>& carried) {
    const SaveResult saved = baocuns(grid, carried, path);
    fuzzCheck(saved.ok, "the editor's grid can be saved");

    const FileContent file = readWholeFile(path);
    fuzzCheck(file.status == FileStatus::Ok, "the saved a.bz reads");
    fuzzCheck(file.bytes == recordFileBytes(grid, carried), "the save writes recordFileBytes");
    if (grid.rows() == 2 && carried.isEmpty())
        fuzzCheck(file.bytes == kEmptyRowLine.toLatin1(), "no records: ten commas, nothing else");

    const QList<Line> lines = splitFile(file.bytes);
    QList<CarriedLine> carriedAgain;
    const RecordGrid again = loadEditor(path, lines, &carriedAgain);
    fuzzCheck(again.rows() == grid.rows(), "every record survives a save and a load");
    for (int r = 1; r < grid.rows() - 1; ++r)
        for (int c = 1; c < grid.cols(); ++c)
            fuzzCheck(again.textMatrix(r, c) == grid.textMatrix(r, c),
                      "a record's fields survive a save and a load");
    fuzzCheck(carriedAgain.size() == carried.size(), "every carried line survives");
    for (qsizetype i = 0; i < carried.size(); ++i) {
        fuzzCheck(carriedAgain.at(i).bytes == carried.at(i).bytes,
                  "a carried line's bytes survive");
        fuzzCheck(carriedAgain.at(i).afterRecords == carried.at(i).afterRecords,
                  "a carried line keeps its place among the records");
    }
    fuzzCheck(recordFileBytes(again, carriedAgain) == file.bytes, "a second save changes nothing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzzTempDir().filePath(QStringLiteral("a.bz"));

    const QList<Line> lines = splitFile(bytes);
    checkCodec(bytes, lines);

    writeFile(path, bytes);
    checkDueToday(path, lines);
    QList<CarriedLine> carried;
    const RecordGrid editor = loadEditor(path, lines, &carried);
    checkSaveAndReload(path, editor, carried);
    return 0;
}
