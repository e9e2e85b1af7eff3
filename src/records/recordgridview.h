#pragma once
// The table view of a record grid: the heading row and the number column stay in place as fixed
// cells (the top-left corner shows the grid's cell (0, 0)), cells are read-only, column widths come
// from the grid in twips, and the grid's RowSel follows the user's selection. The user can widen
// and narrow the columns; the widths become the grid's own. A cell or heading whose text does not
// fit shows the whole text as its tooltip.

#include <QTableView>

#include "records/recordgridmodel.h"

class RecordGridView : public QTableView {
    Q_OBJECT
  public:
    explicit RecordGridView(RecordGridModel* model, QWidget* parent = nullptr);

    RecordGrid& grid() { return m_model->grid(); }
    RecordGridModel* recordModel() const { return m_model; }

  signals:
    // A double click anywhere on the grid, after the selection moved to the clicked cell.
    void gridDoubleClicked();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    void applyColumnWidth(int gridColumn);
    void updateCorner();
    void paintCorner(QWidget* corner);
    void keepUserWidth(int section, int pixels);
    // The whole text of the cell at a point of the viewport or of a header's viewport when the
    // cell cuts it, else an empty text.
    QString cutTextAt(const QWidget* area, const QPoint& pos) const;
    // Shows the cut text of the cell under a tooltip event, or hides the tooltip.
    void showCutText(QWidget* area, const class QHelpEvent* event);

    RecordGridModel* m_model;
    QWidget* m_corner = nullptr;
};
