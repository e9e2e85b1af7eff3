#include "records/recordgridmodel.h"

#include <QApplication>
#include <QBrush>
#include <QColor>

RecordGridModel::RecordGridModel(RecordGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid), m_palette(QApplication::palette()) {
    m_grid.setObserver(this);
}

RecordGridModel::~RecordGridModel() {
    m_grid.setObserver(nullptr);
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : qMax(m_grid.rows() - 1, 0);
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_grid.cols() - 1;
}

QBrush RecordGridModel::brushFor(quint32 colour, const QPalette& palette) {
    if (colour == RecordGrid::kDefaultColour) return QBrush();
    if (colour & 0x80000000u) {
        // A system colour by index; the program uses the selection highlight (13) and its text
        // (14).
        switch (colour & 0xFFu) {
            case 13:
                return palette.brush(QPalette::Active, QPalette::Highlight);
            case 14:
                return palette.brush(QPalette::Active, QPalette::HighlightedText);
            default:
                return palette.brush(QPalette::Active, QPalette::Window);
        }
    }
    return QBrush(QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                         static_cast<int>((colour >> 16) & 0xFF)));
}

QVariant RecordGridModel::cellData(int row, int col, int role) const {
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return m_grid.textMatrix(row, col);
        case Qt::ToolTipRole: {
            // The whole text; the view shows it only where the cell cuts it.
            const QString text = m_grid.textMatrix(row, col);
            return text.isEmpty() ? QVariant() : QVariant(text);
        }
        case Qt::ForegroundRole: {
            const QBrush b = brushFor(m_grid.cellForeColor(row, col), m_palette);
            return b.style() == Qt::NoBrush ? QVariant() : QVariant(b);
        }
        case Qt::BackgroundRole: {
            const QBrush b = brushFor(m_grid.cellBackColor(row, col), m_palette);
            return b.style() == Qt::NoBrush ? QVariant() : QVariant(b);
        }
        default:
            return {};
    }
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    return cellData(index.row() + 1, index.column() + 1, role);
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) return cellData(0, section + 1, role);
    return cellData(section + 1, 0, role);
}

Qt::ItemFlags RecordGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void RecordGridModel::cellsChanged(int firstRow, int firstCol, int lastRow, int lastCol) {
    if (firstRow == 0) emit headerDataChanged(Qt::Horizontal, qMax(firstCol - 1, 0), lastCol - 1);
    if (firstCol == 0) emit headerDataChanged(Qt::Vertical, qMax(firstRow - 1, 0), lastRow - 1);
    const int r0 = qMax(firstRow, 1) - 1;
    const int c0 = qMax(firstCol, 1) - 1;
    if (lastRow >= 1 && lastCol >= 1)
        emit dataChanged(index(r0, c0), index(lastRow - 1, lastCol - 1));
}

// Grid rows first..last are model rows first-1..last-1; grid row 0 (the headings) has none, so a
// change that touches it can only be told as a reset.
void RecordGridModel::rowsAboutToBeInserted(int first, int last) {
    m_resetting = first == 0;
    if (m_resetting)
        beginResetModel();
    else
        beginInsertRows({}, first - 1, last - 1);
}

void RecordGridModel::rowsInserted() {
    if (m_resetting)
        endResetModel();
    else
        endInsertRows();
    m_resetting = false;
}

void RecordGridModel::rowsAboutToBeRemoved(int first, int last) {
    m_resetting = first == 0;
    if (m_resetting)
        beginResetModel();
    else
        beginRemoveRows({}, first - 1, last - 1);
}

void RecordGridModel::rowsRemoved() {
    if (m_resetting)
        endResetModel();
    else
        endRemoveRows();
    m_resetting = false;
}

void RecordGridModel::aboutToReset() {
    beginResetModel();
}

void RecordGridModel::reset() {
    endResetModel();
}

void RecordGridModel::columnWidthChanged(int col) {
    emit gridColumnWidthChanged(col);
}
