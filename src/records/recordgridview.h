#pragma once
// The table view of a record grid: the heading row and the number column stay in place as fixed
// cells (the top-left corner shows the grid's cell (0, 0)), cells are read-only, column widths come
// from the grid in twips, and the grid's RowSel follows the user's selection. The user can widen
// and narrow the columns; the widths become the grid's own. A cell or heading whose text does not
// fit shows the whole text as its tooltip. A selected cell is drawn in a light colour of its own,
// so that it never looks like a row coloured with the system's highlight.
//
// Two things a grid may ask for. Sorting: a click on a heading sorts the view (ascending,
// descending, then the grid's own order again), numbers and digits in numeric order, Chinese in
// pinyin order; only the view is reordered, never the grid, and every row number, selection and
// click is the grid's own. Fitting: after each load the columns the user has not sized take the
// width of what they hold, up to a limit.

#include <QSet>
#include <QTableView>

#include "records/recordgridmodel.h"

class QSortFilterProxyModel;

class RecordGridView : public QTableView {
    Q_OBJECT
  public:
    explicit RecordGridView(RecordGridModel* model, QWidget* parent = nullptr);

    RecordGrid& grid() { return m_model->grid(); }
    RecordGridModel* recordModel() const { return m_model; }

    void setSortable();
    void setFitToContents();
    // A width the grid holds for the column (1 and up) is the user's: fitting leaves it alone.
    void keepColumnWidth(int gridColumn);
    // The grid row shown in a row of the view.
    int gridRow(int viewRow) const;

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
    void fitColumns();
    // The whole text of the cell at a point of the viewport or of a header's viewport when the
    // cell cuts it, else an empty text.
    QString cutTextAt(const QWidget* area, const QPoint& pos) const;
    // Shows the cut text of the cell under a tooltip event, or hides the tooltip.
    void showCutText(QWidget* area, const class QHelpEvent* event);

    RecordGridModel* m_model;
    QSortFilterProxyModel* m_sorted = nullptr;
    QWidget* m_corner = nullptr;
    bool m_fitting = false;   // fits the columns after each load
    bool m_applying = false;  // the view is setting widths itself, not the user
    QSet<int> m_userSized;    // grid columns
    bool m_fitPending = false;
};
