#include "records/recordsortproxy.h"

RecordSortProxy::RecordSortProxy(QObject* parent)
    : QSortFilterProxyModel(parent), m_collator(QLocale(QLocale::Chinese, QLocale::China)) {
    m_collator.setNumericMode(true);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

bool RecordSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    // The empty row ends the grid: it is "greatest" when ascending and "least" when descending, so
    // that it stays at the bottom either way.
    const int last = sourceModel()->rowCount() - 1;
    if (left.row() == last || right.row() == last)
        return (right.row() == last) != (sortOrder() == Qt::DescendingOrder);
    const int order = m_collator.compare(left.data().toString(), right.data().toString());
    if (order != 0) return order < 0;
    // Equal texts keep the grid's order, whichever way the column is sorted.
    return (left.row() < right.row()) != (sortOrder() == Qt::DescendingOrder);
}
