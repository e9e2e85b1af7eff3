#include "records/recordgrid.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/gbkcodec.h"

namespace {

constexpr qsizetype kFirstBlockSize = 4 * 1024;
constexpr qsizetype kLargestBlockSize = 1024 * 1024;
constexpr qint64 kDeadBytesWorthDropping = 256 * 1024;

// The bytes a cell's text is kept as, when it can be: no comma, and GBK gives back exactly it.
std::optional<QByteArray> storableBytes(const QString& text) {
    if (text.contains(u',')) return std::nullopt;
    const bool ascii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) return text.toLatin1();
    QByteArray bytes = gbk::encode(text);
    if (gbk::decode(bytes) != text) return std::nullopt;
    return bytes;
}

// The value of a number cell written as QString::number() writes it, or nothing.
std::optional<qint32> plainNumber(const QString& text) {
    if (text.isEmpty() || text.size() > 10 || (text.size() > 1 && text.front() == u'0'))
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > std::numeric_limits<qint32>::max()) return std::nullopt;
    return qint32(value);
}

// Past the given number of commas, which the bytes hold. Cells are short: a plain loop beats a
// call of memchr for each.
const char* skipCommas(const char* p, const char* end, int commas) {
    for (; commas > 0 && p < end; ++p)
        if (*p == ',') --commas;
    return p;
}

const char* nextComma(const char* p, const char* end) {
    while (p < end && *p != ',') ++p;
    return p;
}

quint32 countCells(QByteArrayView bytes) {
    return bytes.isEmpty() ? 0 : quint32(std::count(bytes.begin(), bytes.end(), ',')) + 1;
}

}  // namespace

RecordGrid::RecordGrid(int rows, int cols)
    : m_rows(size_t(qMax(rows, 0))),
      m_cols(qMax(cols, 1)),
      m_widths(static_cast<size_t>(qMax(cols, 1)), kDefaultWidth) {}

template <typename T>
quint32 RecordGrid::take(std::vector<T>& items, std::vector<quint32>& unused, T item) {
    if (unused.empty()) {
        items.push_back(std::move(item));
        return quint32(items.size() - 1);
    }
    const quint32 index = unused.back();
    unused.pop_back();
    items[index] = std::move(item);
    return index;
}

QByteArrayView RecordGrid::bytesOf(const Row& row) const {
    if (row.length == 0) return {};
    return QByteArrayView(m_blocks[row.block].constData() + row.start, row.length);
}

// Cell col (1 or more) of a row that keeps its cells as bytes.
QByteArrayView RecordGrid::cellBytes(const Row& row, int col) const {
    const QByteArrayView bytes = bytesOf(row);
    if (quint32(col) > row.cells || bytes.isEmpty()) return {};
    const char* end = bytes.data() + bytes.size();
    const char* p = skipCommas(bytes.data(), end, col - 1);
    return QByteArrayView(p, nextComma(p, end));
}

void RecordGrid::storeBytes(Row& row, QByteArrayView bytes, quint32 cells) {
    releaseBytes(row);
    row.cells = cells;
    if (bytes.isEmpty()) return;
    const qsizetype n = bytes.size();
    if (m_writeBlock < 0 || m_blocks[m_writeBlock].capacity() - m_blocks[m_writeBlock].size() < n) {
        const qsizetype last = m_writeBlock < 0 ? 0 : m_blocks[m_writeBlock].capacity();
        QByteArray block;
        block.reserve(qMax(qBound(kFirstBlockSize, 2 * last, kLargestBlockSize), n));
        m_blocks.push_back(std::move(block));
        m_writeBlock = int(m_blocks.size() - 1);
    }
    QByteArray& block = m_blocks[m_writeBlock];
    row.block = quint32(m_writeBlock);
    row.start = quint32(block.size());
    row.length = quint32(n);
    block.append(bytes);
    m_storedBytes += n;
}

void RecordGrid::releaseBytes(Row& row) {
    if (!row.isText()) m_deadBytes += row.length;
    row.start = row.length = row.block = 0;
    row.cells = 0;
}

void RecordGrid::releaseRow(Row& row) {
    if (row.isText()) {
        m_texts[row.block].clear();
        m_unusedTexts.push_back(row.block);
    }
    releaseBytes(row);
    if (row.colours) {
        m_colours[row.colours - 1].clear();
        m_unusedColours.push_back(row.colours - 1);
    }
    row = Row{};
}

void RecordGrid::makeTextRow(Row& row) {
    QStringList texts;
    texts.reserve(m_cols);
    texts << (row.number == kNoNumber ? QString() : QString::number(row.number));
    for (int c = 1; c < m_cols; ++c) texts << gbk::decode(cellBytes(row, c));
    releaseBytes(row);
    row.number = kNoNumber;
    row.block = take(m_texts, m_unusedTexts, std::move(texts));
    row.cells = kTextRow;
}

// Rows removed or rewritten leave their bytes behind; once those outweigh the bytes in use, the
// bytes in use move to fresh blocks.
void RecordGrid::compactBytes() {
    if (m_deadBytes < kDeadBytesWorthDropping || m_deadBytes * 2 < m_storedBytes) return;
    std::vector<QByteArray> old;
    old.swap(m_blocks);
    m_writeBlock = -1;
    m_storedBytes = m_deadBytes = 0;
    for (Row& row : m_rows) {
        if (row.isText() || row.length == 0) continue;
        const QByteArrayView bytes(old[row.block].constData() + row.start, row.length);
        row.length = 0;  // nothing to release: the old blocks go as a whole
        storeBytes(row, bytes, row.cells);
    }
}

void RecordGrid::setRows(int newRows) {
    newRows = qMax(newRows, 0);
    const int old = rows();
    if (newRows < old) {
        if (auto* o = notify()) o->rowsAboutToBeRemoved(newRows, old - 1);
        for (int r = newRows; r < old; ++r) releaseRow(m_rows[size_t(r)]);
        m_rows.resize(static_cast<size_t>(newRows));
        compactBytes();
        if (auto* o = notify()) o->rowsRemoved();
    } else if (newRows > old) {
        if (auto* o = notify()) o->rowsAboutToBeInserted(old, newRows - 1);
        m_rows.resize(static_cast<size_t>(newRows));
        if (auto* o = notify()) o->rowsInserted();
    }
}

QString RecordGrid::textMatrix(int row, int col) const {
    if (!valid(row, col)) return {};
    const Row& r = m_rows[size_t(row)];
    if (r.isText()) return m_texts[r.block].at(col);
    if (col == 0) return r.number == kNoNumber ? QString() : QString::number(r.number);
    return gbk::decode(cellBytes(r, col));
}

void RecordGrid::setTextMatrix(int row, int col, const QString& text) {
    if (!valid(row, col)) return;
    Row& r = m_rows[size_t(row)];
    if (!r.isText() && col == 0) {
        if (const std::optional<qint32> number = plainNumber(text))
            r.number = *number;
        else if (text.isEmpty())
            r.number = kNoNumber;
        else
            makeTextRow(r);
    } else if (!r.isText()) {
        if (const std::optional<QByteArray> cell = storableBytes(text)) {
            const QByteArrayView bytes = bytesOf(r);
            QByteArray joined;
            quint32 cells = r.cells;
            if (quint32(col) <= r.cells) {
                const QByteArrayView old = cellBytes(r, col);
                if (old == QByteArrayView(*cell)) return;
                const qsizetype before = old.isNull() ? 0 : old.data() - bytes.data();
                joined.append(bytes.first(before));
                joined.append(*cell);
                joined.append(bytes.sliced(before + old.size()));
            } else {
                if (cell->isEmpty()) return;  // the cells after the last kept one are empty
                joined = bytes.toByteArray();
                for (int k = int(r.cells) + 1; k <= col; ++k)
                    if (k > 1) joined += ',';
                joined += *cell;
                cells = quint32(col);
            }
            storeBytes(r, joined, cells);
            compactBytes();
        } else {
            makeTextRow(r);
        }
    }
    if (r.isText()) m_texts[r.block][col] = text;
    if (auto* o = notify()) o->cellsChanged(row, col, row, col);
}

void RecordGrid::addItem() {
    setRows(rows() + 1);
}

void RecordGrid::insertItem(int row) {
    if (row < 0 || row > rows()) return;
    if (auto* o = notify()) o->rowsAboutToBeInserted(row, row);
    m_rows.insert(m_rows.begin() + row, Row{});
    if (auto* o = notify()) o->rowsInserted();
}

void RecordGrid::removeItem(int row) {
    if (row < 0 || row >= rows()) return;
    if (auto* o = notify()) o->rowsAboutToBeRemoved(row, row);
    releaseRow(m_rows[size_t(row)]);
    m_rows.erase(m_rows.begin() + row);
    compactBytes();
    if (auto* o = notify()) o->rowsRemoved();
}

void RecordGrid::setCellForeColor(quint32 colour) {
    setColour(true, colour);
}

void RecordGrid::setCellBackColor(quint32 colour) {
    setColour(false, colour);
}

void RecordGrid::setColour(bool fore, quint32 colour) {
    if (!valid(m_currentRow, m_currentCol)) return;
    Row& row = m_rows[static_cast<size_t>(m_currentRow)];
    if (!row.colours) {
        if (colour == kDefaultColour) return;
        row.colours = 1 + take(m_colours, m_unusedColours,
                               std::vector<quint32>(size_t(2 * m_cols), kDefaultColour));
    }
    m_colours[row.colours - 1][size_t((fore ? 0 : m_cols) + m_currentCol)] = colour;
    if (auto* o = notify()) o->cellsChanged(m_currentRow, m_currentCol, m_currentRow, m_currentCol);
}

quint32 RecordGrid::cellForeColor(int row, int col) const {
    if (!valid(row, col)) return kDefaultColour;
    const quint32 colours = m_rows[size_t(row)].colours;
    return colours ? m_colours[colours - 1][size_t(col)] : kDefaultColour;
}

quint32 RecordGrid::cellBackColor(int row, int col) const {
    if (!valid(row, col)) return kDefaultColour;
    const quint32 colours = m_rows[size_t(row)].colours;
    return colours ? m_colours[colours - 1][size_t(m_cols + col)] : kDefaultColour;
}

void RecordGrid::setColWidth(int col, int twips) {
    if (col < 0 || col >= m_cols) return;
    m_widths[static_cast<size_t>(col)] = twips;
    if (auto* o = notify()) o->columnWidthChanged(col);
}

int RecordGrid::colWidth(int col) const {
    if (col < 0 || col >= m_cols) return kDefaultWidth;
    return m_widths[static_cast<size_t>(col)];
}

void RecordGrid::appendCellBytes(int row, int firstCol, int lastCol, QByteArray& out) const {
    firstCol = qMax(firstCol, 0);
    lastCol = qMin(lastCol, m_cols - 1);
    if (firstCol > lastCol) return;
    if (row < 0 || row >= rows()) {
        out.append(lastCol - firstCol, ',');
        return;
    }
    const Row& r = m_rows[size_t(row)];
    if (r.isText()) {
        for (int c = firstCol; c <= lastCol; ++c) {
            if (c > firstCol) out += ',';
            out += gbk::encode(m_texts[r.block].at(c));
        }
        return;
    }
    int c = firstCol;
    if (c == 0) {
        if (r.number != kNoNumber) out += QByteArray::number(r.number);
        if (lastCol == 0) return;
        out += ',';
        c = 1;
    }
    // Cells c .. lastCol: those the bytes hold in one piece, then empty ones.
    const int lastKept = qMin(lastCol, int(r.cells));
    if (c <= lastKept) {
        const QByteArrayView bytes = bytesOf(r);
        const char* end = bytes.data() + bytes.size();
        const char* first = skipCommas(bytes.data(), end, c - 1);
        const char* last =
            lastKept == int(r.cells) ? end : skipCommas(first, end, lastKept - c + 1) - 1;
        out.append(first, last - first);
        if (lastCol > lastKept) out.append(lastCol - lastKept, ',');
    } else if (lastCol > c) {
        out.append(lastCol - c, ',');
    }
}

bool RecordGrid::rowMatches(int r, const QStringList& cells, int firstCol,
                            const QByteArray& joined) const {
    const Row& row = m_rows[size_t(r)];
    if (row.isText()) {
        const QStringList& texts = m_texts[row.block];
        for (qsizetype i = 0; i < cells.size(); ++i)
            if (texts.at(firstCol + i) != cells.at(i)) return false;
        return true;
    }
    if (joined.isNull()) return false;  // a cell with a comma, or one GBK cannot hold
    const int lastCol = firstCol + int(cells.size()) - 1;
    if (row.cells < quint32(lastCol)) {
        QByteArray mine;
        appendCellBytes(r, firstCol, lastCol, mine);
        return mine == joined;
    }
    const QByteArrayView bytes = bytesOf(row);
    const char* end = bytes.data() + bytes.size();
    const char* p = skipCommas(bytes.data(), end, firstCol - 1);
    const qsizetype n = joined.size();
    return end - p >= n && memcmp(p, joined.constData(), size_t(n)) == 0 &&
           (p + n == end || p[n] == ',');
}

int RecordGrid::findRow(const QStringList& cells, int firstCol, int fromRow) const {
    const int lastCol = firstCol + int(cells.size()) - 1;
    fromRow = qMax(fromRow, 1);
    if (firstCol < 0 || lastCol >= m_cols) return -1;
    if (cells.isEmpty()) return rows() > fromRow ? fromRow : -1;
    if (firstCol == 0) {
        // The number column is kept as a number: compare texts.
        for (int r = fromRow; r < rows(); ++r) {
            bool same = true;
            for (int i = 0; same && i < cells.size(); ++i)
                same = textMatrix(r, firstCol + i) == cells.at(i);
            if (same) return r;
        }
        return -1;
    }
    // Rows that keep bytes hold only texts storableBytes() accepts: a cell it refuses can match
    // text rows only.
    QByteArray joined;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const std::optional<QByteArray> cell = storableBytes(cells.at(i));
        if (!cell) {
            joined = QByteArray();
            break;
        }
        if (i > 0) joined += ',';
        joined += *cell;
        if (joined.isNull()) joined = QByteArray("");
    }
    for (int r = fromRow; r < rows(); ++r)
        if (rowMatches(r, cells, firstCol, joined)) return r;
    return -1;
}

void RecordGrid::setRecordCells(int row, QByteArrayView bytes) {
    if (!valid(row, 0)) return;
    Row& r = m_rows[size_t(row)];
    if (r.isText()) {
        releaseRow(r);
        r.cells = 0;
    }
    quint32 cells = countCells(bytes);
    if (cells >= quint32(m_cols)) {
        // More texts than columns: the surplus is dropped.
        const char* end = bytes.data() + bytes.size();
        bytes = QByteArrayView(bytes.data(), skipCommas(bytes.data(), end, m_cols - 1) - 1);
        cells = quint32(m_cols - 1);
    }
    storeBytes(r, bytes, cells);
    if (auto* o = notify()) o->cellsChanged(row, 1, row, m_cols - 1);
}

int RecordGrid::addBlock(QByteArray block) {
    m_blocks.push_back(std::move(block));
    return int(m_blocks.size() - 1);
}

void RecordGrid::setRecordCells(int row, int block, qsizetype start, qsizetype length) {
    if (!valid(row, 0) || block < 0 || size_t(block) >= m_blocks.size()) return;
    const QByteArrayView bytes(m_blocks[size_t(block)].constData() + start, length);
    const quint32 cells = countCells(bytes);
    Row& r = m_rows[size_t(row)];
    if (r.isText() || cells >= quint32(m_cols)) return setRecordCells(row, bytes);
    releaseBytes(r);
    r.block = quint32(block);
    r.start = quint32(start);
    r.length = quint32(length);
    r.cells = cells;
    m_storedBytes += length;
    if (auto* o = notify()) o->cellsChanged(row, 1, row, m_cols - 1);
}

void RecordGrid::takeRecordRows(RecordGrid&& other) {
    Q_ASSERT(other.m_cols == m_cols);
    QStringList heading;
    for (int c = 0; c < m_cols; ++c) heading << textMatrix(0, c);
    std::vector<quint32> headingColours;
    if (!m_rows.empty() && m_rows.front().colours)
        headingColours = m_colours[m_rows.front().colours - 1];

    BulkUpdate bulk(*this);
    m_rows = std::exchange(other.m_rows, {});
    m_blocks = std::exchange(other.m_blocks, {});
    m_writeBlock = std::exchange(other.m_writeBlock, -1);
    m_storedBytes = std::exchange(other.m_storedBytes, 0);
    m_deadBytes = std::exchange(other.m_deadBytes, 0);
    m_texts = std::exchange(other.m_texts, {});
    m_unusedTexts = std::exchange(other.m_unusedTexts, {});
    m_colours = std::exchange(other.m_colours, {});
    m_unusedColours = std::exchange(other.m_unusedColours, {});

    if (m_rows.empty()) m_rows.emplace_back();
    releaseRow(m_rows.front());
    for (int c = 0; c < m_cols; ++c) setTextMatrix(0, c, heading.at(c));
    if (!headingColours.empty())
        m_rows.front().colours = 1 + take(m_colours, m_unusedColours, std::move(headingColours));
}

RecordGrid::BulkUpdate::BulkUpdate(RecordGrid& grid) : m_grid(grid) {
    if (m_grid.m_bulkDepth++ == 0 && m_grid.m_observer) m_grid.m_observer->aboutToReset();
}

RecordGrid::BulkUpdate::~BulkUpdate() {
    if (--m_grid.m_bulkDepth == 0 && m_grid.m_observer) m_grid.m_observer->reset();
}

QStringList recordCellTexts(const RecordGrid& grid, int row, int lastCol) {
    QStringList texts;
    for (int c = 1; c <= lastCol; ++c) texts << grid.textMatrix(row, c);
    return texts;
}
