#pragma once
// The same-condition records whose due time is still in the future, each with its equivalent-age
// projection from the temperature log.

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <optional>

#include "planning/duetimeupdate.h"
#include "planning/equivalentage.h"
#include "planning/sameconditionrecords.h"

class TemperatureLog;

class SameConditionModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        kPartColumn,
        kMixColumn,
        kEstimatedColumn,
        kNoteColumn,
        kProjectedDueColumn,
        kCurrentDueColumn,
        kAgeColumn,
        kSumColumn,
        kCountedColumn,
        kCastingColumn,
    };

    explicit SameConditionModel(QObject* parent = nullptr);

    // Every same-condition record of a.bz; project() picks and projects them.
    void setRecords(QList<SameConditionRecord> records);
    // Lists the records due after `now` with their projections from the log.
    void project(const TemperatureLog& log, const QDateTime& now);

    // The listed records whose projected due time differs from their current one.
    QList<DueTimeChange> changes() const;
    // How many of them are projected to a due time already past, and how many of those to a day
    // before today.
    int passedChanges() const;
    int passedBeforeToday() const;
    // How many of them rest on estimated temperatures.
    int estimatedChanges() const;

    // A listed record, its projection, and the temperatures it was projected from (after
    // project()).
    const SameConditionRecord& recordAt(int row) const { return *m_rows.at(row).record; }
    const Projection& projectionAt(int row) const { return m_rows.at(row).projection; }
    const CuringTemperatures& temperatures() const { return *m_temperatures; }
    // The row of the record whose line starts at the offset, or -1.
    int rowOfLine(qsizetype start) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    struct Row {
        const SameConditionRecord* record = nullptr;
        Projection projection;
        bool changes = false;
        bool passed = false;  // the projected due time is already past
    };
    QString note(const Row& row) const;

    QList<SameConditionRecord> m_records;
    QList<Row> m_rows;
    QDate m_firstLogged;
    QDate m_today;
    std::optional<CuringTemperatures> m_temperatures;
};
