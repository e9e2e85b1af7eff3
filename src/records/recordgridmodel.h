#pragma once
// Shows a RecordGrid in a QTableView without a widget item per cell: model row i is grid row i + 1
// and model column j is grid column j + 1; grid row 0 (the headings) is the horizontal header and
// grid column 0 (the numbers) the vertical header, so both stay in place while the table scrolls.
// Cell texts are plain text; per-cell colours come from the grid. Read-only.

#include <QAbstractTableModel>
#include <QPalette>

#include "records/recordgrid.h"

class RecordGridModel : public QAbstractTableModel, private RecordGridObserver {
    Q_OBJECT
  public:
    explicit RecordGridModel(RecordGrid& grid, QObject* parent = nullptr);
    ~RecordGridModel() override;

    RecordGrid& grid() { return m_grid; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The brush for a colour in the grid's format; an invalid brush for the default colour.
    static QBrush brushFor(quint32 colour, const QPalette& palette);

  signals:
    void gridColumnWidthChanged(int gridColumn);

  private:
    QVariant cellData(int row, int col, int role) const;

    void cellsChanged(int firstRow, int firstCol, int lastRow, int lastCol) override;
    void rowsAboutToBeInserted(int first, int last) override;
    void rowsInserted() override;
    void rowsAboutToBeRemoved(int first, int last) override;
    void rowsRemoved() override;
    void aboutToReset() override;
    void reset() override;
    void columnWidthChanged(int col) override;

    RecordGrid& m_grid;
    QPalette m_palette;
    bool m_resetting = false;
};
