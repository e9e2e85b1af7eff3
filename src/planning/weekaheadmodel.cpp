#include "planning/weekaheadmodel.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

#include "planning/planningtexts.h"
#include "planning/weekaheadreport.h"
#include "platform/gbkcodec.h"
#include "records/specimenrecord.h"

using namespace planningtexts;

WeekAheadModel::WeekAheadModel(QObject* parent) : QAbstractTableModel(parent) {}

void WeekAheadModel::reset(WeekAhead week, QByteArray fileBytes) {
    beginResetModel();
    m_week = std::move(week);
    m_bytes = std::move(fileBytes);
    m_decoded.clear();
    endResetModel();
}

QList<int> WeekAheadModel::groupRows() const {
    QList<int> rows;
    for (int g = 0; g < m_week.groups.size(); ++g) rows << groupStartRow(g);
    return rows;
}

int WeekAheadModel::groupOf(int row) const {
    // The last group whose line stands at or above the row.
    int lo = 0;
    int hi = int(m_week.groups.size()) - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (groupStartRow(mid) <= row)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

bool WeekAheadModel::isGroupRow(int row) const {
    return !m_week.groups.isEmpty() && groupStartRow(groupOf(row)) == row;
}

QString WeekAheadModel::groupText(int group) const {
    return weekAheadGroupText(m_week.groups.at(group));
}

int WeekAheadModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_week.entries.size() + m_week.groups.size());
}

int WeekAheadModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(kWeekColumns.size());
}

const QStringList& WeekAheadModel::fieldsOf(int entry) const {
    if (QStringList* cached = m_decoded.object(entry)) return *cached;
    const rawline::Span span = m_week.entries.at(entry).line;
    auto* fields = new QStringList(
        splitRecordLine(gbk::decode(QByteArrayView(m_bytes).sliced(span.start, span.length))));
    m_decoded.insert(entry, fields);
    return *fields;
}

QVariant WeekAheadModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int group = groupOf(index.row());
    const int offset = index.row() - groupStartRow(group);
    if (offset == 0) {
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return index.column() == 0 ? groupText(group) : QString();
        if (role == Qt::FontRole) return m_groupFont;
        if (role == Qt::BackgroundRole) return QGuiApplication::palette().alternateBase();
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    const QStringList& fields = fieldsOf(m_week.groups.at(group).first + offset - 1);
    const int field = recordcolumns::kDueTimeFirst[index.column()];
    return field < fields.size() ? fields.at(field) : QString();
}

QVariant WeekAheadModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return kWeekColumns.value(section);
    return QVariant();
}
