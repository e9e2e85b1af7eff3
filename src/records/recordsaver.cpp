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
    // The lines are gathered and handed on in large pieces: a write per line would cost more than
    // the lines themselves.
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    QByteArray bytes;  // grows to a piece once, for a long file; a short one takes little room
    bytes.reserve(4096);
    auto handOn = [&](bool last) {
        if (bytes.size() < kPiece && !last) return true;
        const bool ok = write(bytes);
        bytes.truncate(0);
        return ok;
    };

    // Carried lines in the order of their places; lines with the same place keep their order.
    QList<CarriedLine> pending = carried;
    std::stable_sort(
        pending.begin(), pending.end(),
        [](const CarriedLine& a, const CarriedLine& b) { return a.afterRecords < b.afterRecords; });
    qsizetype next = 0;
    auto writeCarriedUpTo = [&](int records) {
        for (; next < pending.size() && pending.at(next).afterRecords <= records; ++next) {
            bytes += pending.at(next).bytes;
            bytes += kLineEnd;
            if (!handOn(false)) return false;
        }
        return true;
    };

    const int lastRow = grid.rows() - 1;
    const int lastCol = grid.cols() - 1;
    for (int r = 1; r <= lastRow; ++r) {
        // The rows before the trailing empty row are records; carried lines go before record r
        // when r - 1 records precede them, and all the rest go before the trailing row.
        if (!writeCarriedUpTo(r < lastRow ? r - 1 : INT_MAX)) return false;
        grid.appendCellBytes(r, 1, lastCol, bytes);
        if (r != lastRow) bytes += kLineEnd;
        if (!handOn(false)) return false;
    }
    if (lastRow < 1) {
        // A grid without even its trailing row: the carried lines alone, still never lost.
        for (qsizetype i = next; i < pending.size(); ++i) {
            if (i > next) bytes += kLineEnd;
            bytes += pending.at(i).bytes;
            if (!handOn(false)) return false;
        }
    }
    return handOn(true);
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
