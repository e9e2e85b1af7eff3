#include "records/recordsaver.h"

#include <QSaveFile>
#include <algorithm>
#include <climits>

#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/recordgrid.h"

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

}  // namespace

QByteArray recordFileBytes(const RecordGrid& grid, const QList<CarriedLine>& carried) {
    // Carried lines in the order of their places; lines with the same place keep their order.
    QList<CarriedLine> pending = carried;
    std::stable_sort(
        pending.begin(), pending.end(),
        [](const CarriedLine& a, const CarriedLine& b) { return a.afterRecords < b.afterRecords; });

    const int lastRow = grid.rows() - 1;
    const int lastCol = grid.cols() - 1;
    QByteArray bytes;
    QString text;  // rows not yet encoded; encoding in long runs is much faster than line by line
    qsizetype next = 0;

    auto writeCarriedUpTo = [&](int records) {
        if (next >= pending.size() || pending.at(next).afterRecords > records) return;
        bytes += gbk::encode(text);
        text.clear();
        for (; next < pending.size() && pending.at(next).afterRecords <= records; ++next) {
            bytes += pending.at(next).bytes;
            bytes += kLineEnd;
        }
    };

    for (int r = 1; r <= lastRow; ++r) {
        // The rows before the trailing empty row are records; carried lines go before record r
        // when r - 1 records precede them, and all the rest go before the trailing row.
        writeCarriedUpTo(r < lastRow ? r - 1 : INT_MAX);
        for (int c = 1; c <= lastCol; ++c) {
            text += grid.textMatrix(r, c);
            if (c != lastCol) text += QLatin1Char(',');
        }
        if (r != lastRow) text += QLatin1String("\r\n");
    }
    bytes += gbk::encode(text);
    if (lastRow < 1) {
        // A grid without even its trailing row: the carried lines alone, still never lost.
        for (qsizetype i = next; i < pending.size(); ++i) {
            if (i > next) bytes += kLineEnd;
            bytes += pending.at(i).bytes;
        }
    }
    return bytes;
}

SaveResult baocuns(const RecordGrid& grid, const QList<CarriedLine>& carried,
                   const QString& dataFilePath) {
    SaveResult result;
    result.ok = writeFileAtomically(dataFilePath, recordFileBytes(grid, carried), &result.error);
    return result;
}

SaveResult baocuns(const RecordGrid& grid, const QList<CarriedLine>& carried, QSaveFile& file) {
    SaveResult result;
    result.ok = writeFileAtomically(file, recordFileBytes(grid, carried), &result.error);
    return result;
}
