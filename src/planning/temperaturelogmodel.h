#pragma once
// The temperature log as a table of days in date order: the date, and the temperature, which can
// be edited in place. Every change is reported through logChanged().

#include <QAbstractTableModel>
#include <QList>

#include "planning/temperaturelog.h"

class TemperatureLogModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TemperatureLogModel(QObject* parent = nullptr);

    const TemperatureLog& log() const { return m_log; }
    void setLog(TemperatureLog log);
    // Adds the day, or sets the temperature of a logged one.
    void setDay(QDate date, int tenths);
    void removeDays(const QList<QDate>& dates);
    TemperatureLog::ImportReport import(QByteArrayView bytes);

    QDate dateAt(int row) const { return m_dates.value(row); }
    int rowOf(QDate date) const { return int(m_dates.indexOf(date)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  signals:
    void logChanged();
    // A typed temperature could not be read; the day kept its temperature.
    void temperatureRejected();

  private:
    void reload();

    TemperatureLog m_log;
    QList<QDate> m_dates;
};
