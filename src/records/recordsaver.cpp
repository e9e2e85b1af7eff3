#include "records/recordsaver.h"

#include <QSaveFile>
#include <algorithm>
#include <climits>

#include "platform/textfile.h"
#include "records/recordgrid.h"

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

}  // namespace

bool writeRecordFile(const RecordGrid& grid, const QList<CarriedLine>& carried,
                     const ByteWriter& write) {
    // Carried lines in the order of their places; lines with the same place keep their order.
    QList<CarriedLine> pending = carried;
    std::stable_sort(
        pending.begin(), pending.end(),
        [](const CarriedLine& a, const CarriedLine& b) { return a.afterRecords < b.afterRecords; });
    qsizetype next = 0;
    auto writeCarriedUpTo = [&](int records) {
        for (; next < pending.size() && pending.at(next).afterRecords <= records; ++next)
            if (!write(pending.at(next).bytes) || !write(kLineEnd)) return false;
        return true;
    };

    const int lastRow = grid.rows() - 1;
    const int lastCol = grid.cols() - 1;
    QByteArray line;
    for (int r = 1; r <= lastRow; ++r) {
        // The rows before the trailing empty row are records; carried lines go before record r
        // when r - 1 records precede them, and all the rest go before the trailing row.
        if (!writeCarriedUpTo(r < lastRow ? r - 1 : INT_MAX)) return false;
        line.truncate(0);
        grid.appendCellBytes(r, 1, lastCol, line);
        if (r != lastRow) line += kLineEnd;
        if (!write(line)) return false;
    }
    if (lastRow < 1) {
        // A grid without even its trailing row: the carried lines alone, still never lost.
        for (qsizetype i = next; i < pending.size(); ++i)
            if ((i > next && !write(kLineEnd)) || !write(pending.at(i).bytes)) return false;
    }
    return true;
}

QByteArray recordFileBytes(const RecordGrid& grid, const QList<CarriedLine>& carried) {
    QByteArray bytes;
    writeRecordFile(grid, carried, [&bytes](QByteArrayView piece) {
        bytes.append(piece);
        return true;
    });
    return bytes;
}

SaveResult baocuns(const RecordGrid& grid, const QList<CarriedLine>& carried,
                   const QString& dataFilePath) {
    QSaveFile file(dataFilePath);
    return baocuns(grid, carried, file);
}

SaveResult baocuns(const RecordGrid& grid, const QList<CarriedLine>& carried, QSaveFile& file) {
    SaveResult result;
    result.ok = writeFileAtomically(
        file, [&](const ByteWriter& write) { return writeRecordFile(grid, carried, write); },
        &result.error);
    return result;
}
