// Arbitrary bytes as a.bz, in memory: line splitting, GBK decoding, field splitting, both loaders,
// and the editor's save followed by a second load, which must give back every record and every
// carried line. fuzz_datafiles takes the same road through files.

#include <cstdint>

#include "recordchecks.h"
#include "records/recordsaver.h"

using namespace recordchecks;

namespace {

const QByteArray kEmptyRowLine = QByteArrayLiteral(",,,,,,,,,,");

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

RecordGrid loadEditor(const QByteArray& bytes, const QList<Line>& lines,
                      QList<CarriedLine>* carried) {
    RecordGrid grid = freshGrid(recordcolumns::kEditorGridColumns);
    const int taken = loadAllRecordsFromBytes(grid, bytes, carried);
    checkEditor(grid, taken, *carried, lines);
    return grid;
}

void checkSaveAndReload(const RecordGrid& grid, const QList<CarriedLine>& carried) {
    const QByteArray saved = recordFileBytes(grid, carried);
    if (grid.rows() == 2 && carried.isEmpty())
        fuzzCheck(saved == kEmptyRowLine, "no records: ten commas, nothing else");

    const QList<Line> lines = splitFile(saved);
    QList<CarriedLine> carriedAgain;
    const RecordGrid again = loadEditor(saved, lines, &carriedAgain);
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
    fuzzCheck(recordFileBytes(again, carriedAgain) == saved, "a second save changes nothing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<Line> lines = splitFile(bytes);
    checkCodec(bytes, lines);

    RecordGrid today = freshGrid(recordcolumns::kMainGridColumns);
    checkDueToday(today, loadDueTodayFromBytes(today, bytes, kToday), lines);
    QList<CarriedLine> carried;
    const RecordGrid editor = loadEditor(bytes, lines, &carried);
    checkSaveAndReload(editor, carried);
    return 0;
}
