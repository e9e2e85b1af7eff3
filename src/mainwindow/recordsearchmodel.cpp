#include "mainwindow/recordsearchmodel.h"

#include <QBrush>
#include <QColor>

#include "mainwindow/searchtexts.h"
#include "platform/gbkcodec.h"
#include "records/specimenrecord.h"

using namespace searchtexts;

namespace {

// The line number, then the fields with the due time first.
using recordcolumns::kDueTimeFirst;
constexpr int kColumns = 1 + int(std::size(kDueTimeFirst));

}  // namespace

RecordSearchModel::RecordSearchModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordSearchModel::reset(RecordSearchResult result, const QString& text) {
    beginResetModel();
    m_result = std::move(result);
    m_text = text;
    m_decoded.clear();
    endResetModel();
}

int RecordSearchModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_result.hits.size());
}

int RecordSearchModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

const QStringList& RecordSearchModel::fieldsOf(int row) const {
    if (QStringList* cached = m_decoded.object(row)) return *cached;
    const RecordSearchResult::Hit& hit = m_result.hits.at(row);
    auto* fields = new QStringList(
        splitRecordLine(gbk::decode(QByteArrayView(m_result.bytes).sliced(hit.start, hit.length))));
    m_decoded.insert(row, fields);
    return *fields;
}

QVariant RecordSearchModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (index.column() == 0) {
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return m_result.hits.at(index.row()).line;
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    const QString cell = fieldsOf(index.row()).value(kDueTimeFirst[index.column() - 1]);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return cell;
        case Qt::ForegroundRole:
            return cell.contains(m_text, Qt::CaseInsensitive) ? QVariant(QBrush(Qt::red))
                                                              : QVariant();
        default:
            return {};
    }
}

QVariant RecordSearchModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    if (section == 0) return kLineColumn;
    const QStringList& headings = recordHeadings();
    return headings.value(kDueTimeFirst[section - 1] + 1);
}
