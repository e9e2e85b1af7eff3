#include "planning/sameconditionmodel.h"

#include <algorithm>

#include "planning/planningtexts.h"
#include "planning/temperaturelog.h"

using namespace planningtexts;

namespace {

enum Field { kProjectPart = 0, kMixNumber = 2, kCastingDate = 3, kDueTime = 5 };

}  // namespace

SameConditionModel::SameConditionModel(QObject* parent) : QAbstractTableModel(parent) {}

void SameConditionModel::setRecords(QList<SameConditionRecord> records) {
    beginResetModel();
    m_rows.clear();
    m_records = std::move(records);
    endResetModel();
}

void SameConditionModel::project(const TemperatureLog& log, const QDateTime& now) {
    const CuringTemperatures temperatures(log.days());
    m_firstLogged = temperatures.isEmpty() ? QDate() : temperatures.firstDate();
    m_today = now.date();
    const qint64 nowKey = rawline::dueKey(now);
    beginResetModel();
    m_rows.clear();
    for (const SameConditionRecord& r : m_records) {
        if (!r.dueKey || *r.dueKey <= nowKey) continue;
        Row row{&r, {}, false, false};
        if (r.casting) {
            row.projection = projectEquivalentAge(temperatures, *r.casting, now.date());
            if (row.projection.isDue()) {
                row.changes = row.projection.dueText() != r.field(kDueTime);
                row.passed =
                    rawline::dueKey(row.projection.dueDate, row.projection.minuteOfDay) <= nowKey;
            }
        }
        m_rows.append(row);
    }
    endResetModel();
}

QList<DueTimeChange> SameConditionModel::changes() const {
    QList<DueTimeChange> list;
    for (const Row& row : m_rows) {
        if (!row.changes) continue;
        list.append({row.record->line, QByteArray::number(row.projection.age),
                     row.projection.dueText().toLatin1()});
    }
    return list;
}

int SameConditionModel::passedChanges() const {
    return int(std::count_if(m_rows.cbegin(), m_rows.cend(),
                             [](const Row& row) { return row.changes && row.passed; }));
}

int SameConditionModel::passedBeforeToday() const {
    return int(std::count_if(m_rows.cbegin(), m_rows.cend(), [this](const Row& row) {
        return row.changes && row.passed && row.projection.dueDate < m_today;
    }));
}

QString SameConditionModel::note(const Row& row) const {
    if (!row.record->casting) return kBadCasting;
    switch (row.projection.status) {
        case Projection::Status::Due:
            return row.passed ? kPassed : row.changes ? kWillChange : QString();
        case Projection::Status::EmptyLog:
            return kEmptyLog;
        case Projection::Status::BeforeLog:
            return kBeforeLog.arg(m_firstLogged.toString(Qt::ISODate));
        case Projection::Status::NoDueDay:
            return kNoDueDay;
    }
    return {};
}

int SameConditionModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SameConditionModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(kRecordColumns.size());
}

QVariant SameConditionModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) return {};
    const Row& row = m_rows.at(index.row());
    const Projection& p = row.projection;
    const bool projected = row.record->casting.has_value() &&
                           p.status != Projection::Status::EmptyLog &&
                           p.status != Projection::Status::BeforeLog;
    switch (index.column()) {
        case 0:
            return row.record->field(kProjectPart);
        case 1:
            return row.record->field(kMixNumber);
        case 2:
            return row.record->field(kCastingDate);
        case 3:
            return projected ? TemperatureLog::tenthsText(p.tenthsSoFar) : QString();
        case 4:
            return projected ? QString::number(p.countedSoFar) : QString();
        case 5:
            return p.isDue() ? QString::number(p.age) : QString();
        case 6:
            return p.dueText();
        case 7:
            return row.record->field(kDueTime);
        case 8:
            return projected ? (p.estimated ? kYes : kNo) : QString();
        case 9:
            return note(row);
    }
    return {};
}

QVariant SameConditionModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return kRecordColumns.value(section);
}
