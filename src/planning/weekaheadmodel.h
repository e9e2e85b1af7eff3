#pragma once
// The week ahead as a table: one line per date (or for the overdue records) followed by its
// records. A record's line of a.bz is decoded only when the view asks for one of its cells.

#include <QAbstractTableModel>
#include <QByteArray>
#include <QCache>
#include <QFont>
#include <QStringList>

#include "planning/weekahead.h"

class WeekAheadModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit WeekAheadModel(QObject* parent = nullptr);

    // The font of the group lines.
    void setGroupFont(const QFont& font) { m_groupFont = font; }
    // The selection and the bytes of a.bz it was made on.
    void reset(WeekAhead week, QByteArray fileBytes);

    // The table row of each group line.
    QList<int> groupRows() const;
    // The group whose line or record stands in the row.
    int groupOf(int row) const;
    bool isGroupRow(int row) const;
    // The text of a group's line: date, weekday, batches and groups.
    QString groupText(int group) const;
    // The selection shown and the bytes of a.bz it was made on.
    const WeekAhead& week() const { return m_week; }
    const QByteArray& fileBytes() const { return m_bytes; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const QStringList& fieldsOf(int entry) const;
    int groupStartRow(int group) const { return m_week.groups.at(group).first + group; }

    WeekAhead m_week;
    QByteArray m_bytes;
    QFont m_groupFont;
    mutable QCache<int, QStringList> m_decoded{512};
};
