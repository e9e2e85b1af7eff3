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
    m_temperatures.emplace(log.days());
    const CuringTemperatures& temperatures = *m_temperatures;
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

int SameConditionModel::estimatedChanges() const {
    return int(std::count_if(m_rows.cbegin(), m_rows.cend(), [](const Row& row) {
        return row.changes && row.projection.estimated;
    }));
}

int SameConditionModel::rowOfLine(qsizetype start) const {
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].record->line.start == start) return r;
    return -1;
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
        case kPartColumn:
            return row.record->field(kProjectPart);
        case kMixColumn:
            return row.record->field(kMixNumber);
        case kEstimatedColumn:
            return projected ? (p.estimated ? kYes : kNo) : QString();
        case kNoteColumn:
            return note(row);
        case kProjectedDueColumn:
            return p.dueText();
        case kCurrentDueColumn:
            return row.record->field(kDueTime);
        case kAgeColumn:
            return p.isDue() ? QString::number(p.age) : QString();
        case kSumColumn:
            return projected ? TemperatureLog::tenthsText(p.tenthsSoFar) : QString();
        case kCountedColumn:
            return projected ? QString::number(p.countedSoFar) : QString();
        case kCastingColumn:
            return row.record->field(kCastingDate);
    }
    return {};
}

QVariant SameConditionModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return kRecordColumns.value(section);
}
