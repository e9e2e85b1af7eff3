#pragma once
// A plain table of text cells, the program's record grid: row 0 holds the headings, column 0 the
// display number, record rows start at row 1 and the grid ends with one empty row below the
// records. It offers exactly the grid operations the record logic needs (row and column counts,
// cell text, appending and removing rows, the selection's last row, a current cell with its text
// and background colours, column widths). QtCore only; RecordGridModel shows it in a QTableView.
//
// Colours are kept in the grid's own colour format: 0 means "the grid's default colour"; other
// values hold blue, green and red from the high byte to the low byte (0x0000FFFF is yellow, 0xFF is
// red), and a value with the top bit set names a system colour by its index in the low byte
// (0x8000000D is the selection highlight).
//
// Storage. A grid may hold a million records, so a row keeps no text object per cell: its cells 1
// and up are GBK bytes joined by commas, as a line of a.bz holds them, in large shared blocks, and
// its number (column 0) is an integer. Cells are decoded only when asked for. A row whose texts
// cannot be kept so (a comma or a character GBK cannot hold in a cell, a number cell that is not a
// plain number) keeps its texts as they are. Colours take room only in rows that have some.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

class RecordGridObserver {
  public:
    virtual ~RecordGridObserver() = default;
    virtual void cellsChanged(int firstRow, int firstCol, int lastRow, int lastCol) = 0;
    virtual void rowsAboutToBeInserted(int first, int last) = 0;
    virtual void rowsInserted() = 0;
    virtual void rowsAboutToBeRemoved(int first, int last) = 0;
    virtual void rowsRemoved() = 0;
    virtual void aboutToReset() = 0;
    virtual void reset() = 0;
    virtual void columnWidthChanged(int col) = 0;
};

class RecordGrid {
  public:
    static constexpr quint32 kDefaultColour = 0;
    static constexpr quint32 kYellow = 0x0000FFFF;
    static constexpr quint32 kRed = 0x000000FF;
    static constexpr quint32 kHighlight = 0x8000000D;
    static constexpr int kDefaultWidth = -1;

    RecordGrid(int rows, int cols);

    int rows() const { return static_cast<int>(m_rows.size()); }
    // Setting the row count drops rows at the end or appends empty ones; the others stay as they
    // are.
    void setRows(int rows);
    int cols() const { return m_cols; }

    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    // Appends one row of empty cells at the end.
    void addItem();
    // Inserts one row of empty cells before the row (at the end for rows()); the rows from it on
    // move down by one.
    void insertItem(int row);
    // Removes the row; the rows below move up by one.
    void removeItem(int row);

    // The last row of the user's current selection (kept in step by the view).
    int rowSel() const { return m_rowSel; }
    void setRowSel(int row) { m_rowSel = row; }

    // The current cell, the target of the two colour setters.
    void setRow(int row) { m_currentRow = row; }
    void setCol(int col) { m_currentCol = col; }
    int row() const { return m_currentRow; }
    int col() const { return m_currentCol; }
    void setCellForeColor(quint32 colour);
    void setCellBackColor(quint32 colour);
    quint32 cellForeColor(int row, int col) const;
    quint32 cellBackColor(int row, int col) const;

    // Column widths in twips; kDefaultWidth leaves the view's default.
    void setColWidth(int col, int twips);
    int colWidth(int col) const;

    // The first row (>= fromRow, at least 1) whose cells firstCol .. firstCol + cells.size() - 1
    // hold exactly the texts, or -1. Compares encoded bytes, so a million rows take a few
    // milliseconds.
    int findRow(const QStringList& cells, int firstCol, int fromRow = 1) const;

    // Appends the GBK bytes of the row's cells firstCol .. lastCol, joined by commas (a character
    // GBK cannot hold becomes "?"). Cells of record rows come out as they were read.
    void appendCellBytes(int row, int firstCol, int lastCol, QByteArray& out) const;

    // Filling rows in bulk from the bytes of a.bz. The bytes are valid GBK holding k texts
    // separated by commas, k < cols(); cells 1 .. k of the row get the texts, the cells after them
    // become empty. setRecordCells() copies the bytes; a block added with addBlock() is kept as it
    // is and its rows refer to it.
    void setRecordCells(int row, QByteArrayView bytes);
    int addBlock(QByteArray block);
    void setRecordCells(int row, int block, qsizetype start, qsizetype length);

    // Rows 1 and up become those of `other` (a grid of as many columns, filled elsewhere, on
    // another thread say), which is left empty. Row 0, the column widths, the selection, the
    // current cell and the observer stay.
    void takeRecordRows(RecordGrid&& other);

    // Bulk changes (loading thousands of rows) tell the observer once, as a reset.
    class BulkUpdate {
      public:
        explicit BulkUpdate(RecordGrid& grid);
        ~BulkUpdate();
        BulkUpdate(const BulkUpdate&) = delete;
        BulkUpdate& operator=(const BulkUpdate&) = delete;

      private:
        RecordGrid& m_grid;
    };

    void setObserver(RecordGridObserver* observer) { m_observer = observer; }

  private:
    static constexpr qint32 kNoNumber = -1;
    static constexpr quint32 kTextRow = 0xFFFFFFFF;

    struct Row {
        quint32 block = 0;  // where its bytes are; in a text row, its texts in m_texts
        quint32 start = 0;
        quint32 length = 0;
        quint32 cells = 0;          // how many texts the bytes hold (cells 1 .. cells); kTextRow
        qint32 number = kNoNumber;  // column 0: kNoNumber for the empty text
        quint32 colours = 0;        // 0, or 1 + its index in m_colours
        bool isText() const { return cells == kTextRow; }
    };

    bool valid(int row, int col) const {
        return row >= 0 && row < rows() && col >= 0 && col < m_cols;
    }
    RecordGridObserver* notify() const { return m_bulkDepth == 0 ? m_observer : nullptr; }
    void setColour(bool fore, quint32 colour);

    QByteArrayView bytesOf(const Row& row) const;
    QByteArrayView cellBytes(const Row& row, int col) const;
    void storeBytes(Row& row, QByteArrayView bytes, quint32 cells);
    void releaseBytes(Row& row);
    void releaseRow(Row& row);
    void makeTextRow(Row& row);
    bool rowMatches(int row, const QStringList& cells, int firstCol,
                    const QByteArray& joined) const;
    template <typename T>
    static quint32 take(std::vector<T>& items, std::vector<quint32>& unused, T item);

    std::vector<Row> m_rows;
    int m_cols;
    std::vector<QByteArray> m_blocks;
    int m_writeBlock = -1;  // the block new bytes go to while it has room
    qint64 m_storedBytes = 0;
    qint64 m_deadBytes = 0;  // of rows removed or rewritten; dropped when they outweigh the rest
    std::vector<QStringList> m_texts;
    std::vector<quint32> m_unusedTexts;
    std::vector<std::vector<quint32>> m_colours;  // per coloured row: cols text colours, then
                                                  // cols background colours
    std::vector<quint32> m_unusedColours;
    std::vector<int> m_widths;
    int m_rowSel = 1;
    int m_currentRow = 1;
    int m_currentCol = 1;
    int m_bulkDepth = 0;
    RecordGridObserver* m_observer = nullptr;

    void compactBytes();
};

// The texts of the row's cells from column 1 (工程部位) to lastCol: a record's fields as the grid
// shows them (lastCol 11 includes 是否到期).
QStringList recordCellTexts(const RecordGrid& grid, int row, int lastCol);
