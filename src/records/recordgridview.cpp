#include "records/recordgridview.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyleOptionHeader>
#include <QTimer>
#include <QToolTip>

#include "platform/twips.h"
#include "records/recordsortproxy.h"

namespace {

// A selected cell: a light blue with dark text, never the system highlight of a fired row.
const QColor kSelection(0xCC, 0xE4, 0xF7);
// The widest a fitted column grows, in characters of the grid's font; its tooltip shows the rest.
constexpr int kFitLimitCharacters = 24;

}  // namespace

RecordGridView::RecordGridView(RecordGridModel* model, QWidget* parent)
    : QTableView(parent), m_model(model) {
    setModel(model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // Fixed section sizes keep tens of thousands of rows cheap to lay out and to scroll.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    QPalette look = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        look.setColor(group, QPalette::Highlight, kSelection);
        look.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    setPalette(look);

    // The corner button shows the heading of the number column.
    if (auto* corner = findChild<QAbstractButton*>()) {
        m_corner = corner;
        corner->setEnabled(false);
        corner->installEventFilter(this);
    }
    setCornerButtonEnabled(false);

    connect(model, &RecordGridModel::gridColumnWidthChanged, this,
            &RecordGridView::applyColumnWidth);
    connect(model, &QAbstractItemModel::headerDataChanged, this, &RecordGridView::updateCorner);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < m_model->grid().cols(); ++c) applyColumnWidth(c);
        updateCorner();
    });
    for (int c = 0; c < model->grid().cols(); ++c) applyColumnWidth(c);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int pixels) { keepUserWidth(section, pixels); });
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
}

void RecordGridView::setSortable() {
    if (m_sorted) return;
    m_sorted = new RecordSortProxy(this);
    m_sorted->setSourceModel(m_model);
    setModel(m_sorted);
    // The grid's own order until a heading is clicked; a third click brings it back.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    horizontalHeader()->setSortIndicatorClearable(true);
    setSortingEnabled(true);
}

void RecordGridView::setFitToContents() {
    m_fitting = true;
    auto schedule = [this] {
        if (m_fitPending) return;
        m_fitPending = true;
        QTimer::singleShot(0, this, &RecordGridView::fitColumns);
    };
    connect(m_model, &QAbstractItemModel::modelReset, this, schedule);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, schedule);
    schedule();
}

void RecordGridView::keepColumnWidth(int gridColumn) {
    m_userSized.insert(gridColumn);
}

int RecordGridView::gridRow(int viewRow) const {
    const int row = m_sorted ? m_sorted->mapToSource(m_sorted->index(viewRow, 0)).row() : viewRow;
    return row < 0 ? -1 : row + 1;
}

void RecordGridView::fitColumns() {
    m_fitPending = false;
    const int limit = fontMetrics().horizontalAdvance(QChar(0x4E2D)) * kFitLimitCharacters;
    const QScopedValueRollback applying(m_applying, true);
    for (int section = 0; section < model()->columnCount(); ++section) {
        if (m_userSized.contains(section + 1)) continue;
        const int wanted =
            qMax(sizeHintForColumn(section), horizontalHeader()->sectionSizeHint(section));
        setColumnWidth(section, qMin(wanted, limit));
    }
}

void RecordGridView::keepUserWidth(int section, int pixels) {
    if (m_applying) return;
    m_userSized.insert(section + 1);
    // A reload of the grid applies its widths again, so a width the user dragged is kept there.
    RecordGrid& grid = m_model->grid();
    if (twips::toPixels(grid.colWidth(section + 1)) != pixels)
        grid.setColWidth(section + 1, pixels * twips::kPerPixel);
}

QString RecordGridView::cutTextAt(const QWidget* area, const QPoint& pos) const {
    QString text;
    int width = 0;
    QFont font = this->font();
    int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    if (area == viewport()) {
        const QModelIndex index = indexAt(pos);
        text = index.data(Qt::ToolTipRole).toString();
        width = visualRect(index).width();
    } else {
        const QHeaderView* header =
            area == horizontalHeader()->viewport() ? horizontalHeader() : verticalHeader();
        const int section = header->logicalIndexAt(pos);
        if (section < 0) return {};
        text = model()->headerData(section, header->orientation(), Qt::ToolTipRole).toString();
        width = header->orientation() == Qt::Horizontal ? header->sectionSize(section)
                                                        : header->width();
        font = header->font();
        margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    }
    return QFontMetrics(font).horizontalAdvance(text) > width - 2 * margin ? text : QString();
}

void RecordGridView::showCutText(QWidget* area, const QHelpEvent* event) {
    const QString text = cutTextAt(area, event->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), text, area);
}

bool RecordGridView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        showCutText(viewport(), static_cast<QHelpEvent*>(event));
        return true;
    }
    return QTableView::viewportEvent(event);
}

void RecordGridView::updateCorner() {
    if (!m_corner) return;
    // The number column is at least wide enough for its heading.
    const QString heading = m_model->grid().textMatrix(0, 0);
    const int wanted = verticalHeader()->fontMetrics().horizontalAdvance(heading) + 12;
    if (verticalHeader()->minimumWidth() != wanted) verticalHeader()->setMinimumWidth(wanted);
    m_corner->update();
}

void RecordGridView::applyColumnWidth(int gridColumn) {
    const int width = m_model->grid().colWidth(gridColumn);
    if (width == RecordGrid::kDefaultWidth) return;
    // A fitted column keeps its fitted width; the grid's width is the user's or the designed one.
    if (m_fitting && gridColumn > 0 && !m_userSized.contains(gridColumn)) return;
    const QScopedValueRollback applying(m_applying, true);
    const int pixels = qMax(twips::toPixels(width), 1);
    if (gridColumn == 0)
        verticalHeader()->setFixedWidth(pixels);
    else
        setColumnWidth(gridColumn - 1, pixels);
}

void RecordGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid()) m_model->grid().setRowSel(gridRow(current.row()));
}

void RecordGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit gridDoubleClicked();
}

bool RecordGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_corner && event->type() == QEvent::Paint) {
        paintCorner(m_corner);
        return true;
    }
    if (event->type() == QEvent::ToolTip &&
        (watched == horizontalHeader()->viewport() || watched == verticalHeader()->viewport())) {
        showCutText(static_cast<QWidget*>(watched), static_cast<QHelpEvent*>(event));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void RecordGridView::paintCorner(QWidget* corner) {
    QStyleOptionHeader option;
    option.initFrom(horizontalHeader());
    option.state = QStyle::State_Enabled | QStyle::State_Raised;
    option.rect = corner->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = m_model->grid().textMatrix(0, 0);
    option.textAlignment = Qt::AlignCenter;
    const QBrush fore =
        RecordGridModel::brushFor(m_model->grid().cellForeColor(0, 0), option.palette);
    if (fore.style() != Qt::NoBrush) option.palette.setBrush(QPalette::ButtonText, fore);
    QPainter painter(corner);
    corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
}
