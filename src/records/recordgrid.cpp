#include "records/recordgrid.h"

RecordGrid::RecordGrid(int rows, int cols)
    : m_cols(qMax(cols, 1)), m_widths(static_cast<size_t>(qMax(cols, 1)), kDefaultWidth) {
    m_rows.reserve(static_cast<size_t>(qMax(rows, 0)));
    for (int r = 0; r < rows; ++r) m_rows.push_back(emptyRow());
}

void RecordGrid::setRows(int newRows) {
    newRows = qMax(newRows, 0);
    const int old = rows();
    if (newRows < old) {
        if (auto* o = notify()) o->rowsAboutToBeRemoved(newRows, old - 1);
        m_rows.resize(static_cast<size_t>(newRows));
        if (auto* o = notify()) o->rowsRemoved();
    } else if (newRows > old) {
        if (auto* o = notify()) o->rowsAboutToBeInserted(old, newRows - 1);
        while (rows() < newRows) m_rows.push_back(emptyRow());
        if (auto* o = notify()) o->rowsInserted();
    }
}

const QString& RecordGrid::textMatrix(int row, int col) const {
    static const QString kEmpty;
    if (!valid(row, col)) return kEmpty;
    return m_rows[static_cast<size_t>(row)].text[static_cast<size_t>(col)];
}

void RecordGrid::setTextMatrix(int row, int col, const QString& text) {
    if (!valid(row, col)) return;
    m_rows[static_cast<size_t>(row)].text[static_cast<size_t>(col)] = text;
    if (auto* o = notify()) o->cellsChanged(row, col, row, col);
}

int RecordGrid::findRow(const QStringList& cells, int firstCol) const {
    if (firstCol < 0 || firstCol + cells.size() > m_cols) return -1;
    for (int r = 1; r < rows(); ++r) {
        const std::vector<QString>& text = m_rows[static_cast<size_t>(r)].text;
        bool same = true;
        for (qsizetype i = 0; same && i < cells.size(); ++i)
            same = text[static_cast<size_t>(firstCol + i)] == cells.at(i);
        if (same) return r;
    }
    return -1;
}

void RecordGrid::addItem() {
    setRows(rows() + 1);
}

void RecordGrid::removeItem(int row) {
    if (row < 0 || row >= rows()) return;
    if (auto* o = notify()) o->rowsAboutToBeRemoved(row, row);
    m_rows.erase(m_rows.begin() + row);
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
    std::vector<quint32>& colours = fore ? row.fore : row.back;
    if (colours.empty()) {
        if (colour == kDefaultColour) return;
        colours.assign(static_cast<size_t>(m_cols), kDefaultColour);
    }
    colours[static_cast<size_t>(m_currentCol)] = colour;
    if (auto* o = notify()) o->cellsChanged(m_currentRow, m_currentCol, m_currentRow, m_currentCol);
}

quint32 RecordGrid::cellForeColor(int row, int col) const {
    if (!valid(row, col)) return kDefaultColour;
    const auto& colours = m_rows[static_cast<size_t>(row)].fore;
    return colours.empty() ? kDefaultColour : colours[static_cast<size_t>(col)];
}

quint32 RecordGrid::cellBackColor(int row, int col) const {
    if (!valid(row, col)) return kDefaultColour;
    const auto& colours = m_rows[static_cast<size_t>(row)].back;
    return colours.empty() ? kDefaultColour : colours[static_cast<size_t>(col)];
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

RecordGrid::BulkUpdate::BulkUpdate(RecordGrid& grid) : m_grid(grid) {
    if (m_grid.m_bulkDepth++ == 0 && m_grid.m_observer) m_grid.m_observer->aboutToReset();
}

RecordGrid::BulkUpdate::~BulkUpdate() {
    if (--m_grid.m_bulkDepth == 0 && m_grid.m_observer) m_grid.m_observer->reset();
}
