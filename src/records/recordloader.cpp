#include "records/recordloader.h"

#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"

namespace {

// Appends a row and places fields 0 .. n-2 into columns 1 .. n-1, dropping what does not fit.
void appendRecordRow(RecordGrid& grid, const QStringList& fields) {
    grid.addItem();
    const int row = grid.rows() - 2;  // the row that was the trailing empty row
    const int placed = qMin(static_cast<int>(fields.size()) - 1, grid.cols() - 1);
    for (int k = 0; k < placed; ++k) grid.setTextMatrix(row, k + 1, fields.at(k));
}

bool hasContent(const QStringList& fields) {
    for (const QString& f : fields)
        if (!f.isEmpty()) return true;
    return false;
}

// Eleven fields with an empty due mark, from valid GBK: the editor's grid writes it back as read.
bool holdsIntact(const QStringList& fields, bool validGbk) {
    return fields.size() == SpecimenRecord::kFieldCount && fields.last().isEmpty() && validGbk;
}

LoadReport reportFor(const FileLines& file) {
    return LoadReport{file.status, file.error, 0};
}

}  // namespace

void numberRows(RecordGrid& grid) {
    const int last = grid.rows() - 1;
    for (int r = 1; r <= last; ++r) grid.setTextMatrix(r, 0, QString::number(r));
    if (last > 0) grid.setTextMatrix(last, 0, QString());
}

LoadReport loadDueToday(RecordGrid& grid, const QString& dataFilePath, const Clock& clock) {
    const FileLines file = readLines(dataFilePath);
    LoadReport report = reportFor(file);
    RecordGrid::BulkUpdate bulk(grid);
    MinuteText todayText(clock, QStringLiteral("yyyy-MM-dd"));
    for (const QByteArray& raw : file.lines) {
        // The clock is asked for every line, so a load that runs over midnight uses the new date.
        const QString& today = todayText.read();
        if (today.isEmpty()) break;  // no valid time: nothing is due
        const QStringList fields = splitRecordLine(gbk::decode(raw));
        if (fields.size() <= recordcolumns::kDueTime - 1) continue;
        if (!fields.at(recordcolumns::kDueTime - 1).contains(today)) continue;
        appendRecordRow(grid, fields);
        ++report.taken;
    }
    numberRows(grid);
    return report;
}

bool editorHoldsIntact(const QStringList& fields, const QByteArray& raw) {
    return holdsIntact(fields, gbk::isValid(raw));
}

LoadReport loadAllRecords(RecordGrid& grid, const QString& dataFilePath,
                          QList<CarriedLine>* carried) {
    const FileLines file = readLines(dataFilePath);
    LoadReport report = reportFor(file);
    RecordGrid::BulkUpdate bulk(grid);
    for (const QByteArray& raw : file.lines) {
        const QString text = gbk::decode(raw);
        const QStringList fields = splitRecordLine(text);
        if (!hasContent(fields)) continue;  // empty lines and the trailing line of commas
        // The decoder marks every byte that is not GBK with U+FFFD, which no GBK code stands for,
        // so the text tells what gbk::isValid(raw) would without decoding the line again.
        const bool validGbk = !text.contains(QChar(QChar::ReplacementCharacter));
        if (holdsIntact(fields, validGbk)) {
            appendRecordRow(grid, fields);
            ++report.taken;
        } else if (carried) {
            carried->append(CarriedLine{report.taken, raw});
        }
    }
    numberRows(grid);
    return report;
}

LoadReport reloadDueToday(RecordGrid& grid, const QString& dataFilePath, const Clock& clock) {
    {
        RecordGrid::BulkUpdate bulk(grid);
        for (int r = grid.rows() - 1; r >= 1; --r)
            if (!grid.textMatrix(r, 0).isEmpty()) grid.removeItem(r);
    }
    return loadDueToday(grid, dataFilePath, clock);
}
