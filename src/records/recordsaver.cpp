#include "records/recordsaver.h"

#include <QSaveFile>
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/recordgrid.h"

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// The text of the rows, laid out in one growing buffer. Copying each cell's characters straight
// in costs a fraction of tens of thousands of QString appends, and the text is then encoded in
// long runs: encoding line by line would cost far more.
class TextBuffer {
  public:
    explicit TextBuffer(qsizetype capacity)
        : m_text(qMax<qsizetype>(capacity, 64), Qt::Uninitialized) {}

    void append(QStringView piece) {
        const qsizetype n = piece.size();
        if (n == 0) return;
        if (m_size + n > m_text.size()) m_text.resize(qMax(m_text.size() * 2, m_size + n));
        memcpy(reinterpret_cast<char16_t*>(m_text.data()) + m_size, piece.utf16(), size_t(n) * 2);
        m_size += n;
    }

    // GBK bytes of what was appended since the last call.
    QByteArray takeEncoded() {
        const QByteArray bytes =
            gbk::encode(QStringView(m_text).mid(m_encoded, m_size - m_encoded));
        m_encoded = m_size;
        return bytes;
    }

  private:
    QString m_text;
    qsizetype m_size = 0;
    qsizetype m_encoded = 0;
};

}  // namespace

QByteArray recordFileBytes(const RecordGrid& grid, const QList<CarriedLine>& carried) {
    // Carried lines in the order of their places; lines with the same place keep their order.
    QList<CarriedLine> pending = carried;
    std::stable_sort(
        pending.begin(), pending.end(),
        [](const CarriedLine& a, const CarriedLine& b) { return a.afterRecords < b.afterRecords; });

    const int lastRow = grid.rows() - 1;
    const int lastCol = grid.cols() - 1;
    TextBuffer text(qsizetype(qMax(lastRow, 0)) * 96);
    QByteArray bytes;
    qsizetype next = 0;

    auto writeCarriedUpTo = [&](int records) {
        if (next >= pending.size() || pending.at(next).afterRecords > records) return;
        bytes += text.takeEncoded();
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
            text.append(grid.textMatrix(r, c));
            if (c != lastCol) text.append(u",");
        }
        if (r != lastRow) text.append(u"\r\n");
    }
    bytes += text.takeEncoded();
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
