#include "planning/temperaturelogmodel.h"

#include "planning/planningtexts.h"

TemperatureLogModel::TemperatureLogModel(QObject* parent) : QAbstractTableModel(parent) {}

void TemperatureLogModel::reload() {
    beginResetModel();
    m_dates = m_log.days().keys();
    endResetModel();
}

void TemperatureLogModel::setLog(TemperatureLog log) {
    m_log = std::move(log);
    reload();
}

void TemperatureLogModel::setDay(QDate date, int tenths) {
    m_log.setDay(date, tenths);
    reload();
    emit logChanged();
}

void TemperatureLogModel::removeDays(const QList<QDate>& dates) {
    bool removed = false;
    for (const QDate& d : dates) removed |= m_log.removeDay(d);
    if (!removed) return;
    reload();
    emit logChanged();
}

TemperatureLog::ImportReport TemperatureLogModel::import(QByteArrayView bytes) {
    const TemperatureLog::ImportReport report = m_log.import(bytes);
    if (report.taken == 0) return report;
    reload();
    emit logChanged();
    return report;
}

int TemperatureLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_dates.size());
}

int TemperatureLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant TemperatureLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const QDate date = m_dates.at(index.row());
    if (index.column() == 0) return date.toString(Qt::ISODate);
    return TemperatureLog::tenthsText(m_log.days().value(date));
}

bool TemperatureLogModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 1 || role != Qt::EditRole) return false;
    const auto tenths = TemperatureLog::parseTenths(value.toString().trimmed());
    if (!tenths) {
        emit temperatureRejected();
        return false;
    }
    const QDate date = m_dates.at(index.row());
    if (m_log.days().value(date) == *tenths) return true;
    m_log.setDay(date, *tenths);
    emit dataChanged(index, index);
    emit logChanged();
    return true;
}

Qt::ItemFlags TemperatureLogModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == 1) f |= Qt::ItemIsEditable;
    return f;
}

QVariant TemperatureLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return planningtexts::kLogColumns.value(section);
}
