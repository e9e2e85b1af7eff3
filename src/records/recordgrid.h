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

    const QString& textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    // The first row (from row 1 on) whose cells firstCol .. firstCol + cells.size() - 1 hold
    // exactly the given texts, or -1.
    int findRow(const QStringList& cells, int firstCol) const;

    // Appends one row of empty cells at the end.
    void addItem();
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
    struct Row {
        std::vector<QString> text;
        std::vector<quint32> fore;  // empty while every cell has the default colour
        std::vector<quint32> back;
    };

    Row emptyRow() const { return Row{std::vector<QString>(static_cast<size_t>(m_cols)), {}, {}}; }
    bool valid(int row, int col) const {
        return row >= 0 && row < rows() && col >= 0 && col < m_cols;
    }
    RecordGridObserver* notify() const { return m_bulkDepth == 0 ? m_observer : nullptr; }
    void setColour(bool fore, quint32 colour);

    std::vector<Row> m_rows;
    int m_cols;
    std::vector<int> m_widths;
    int m_rowSel = 1;
    int m_currentRow = 1;
    int m_currentCol = 1;
    int m_bulkDepth = 0;
    RecordGridObserver* m_observer = nullptr;
};
