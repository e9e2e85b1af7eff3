#pragma once
// The records of a.bz that 全部记录 found, as a table: the line number, the due time, then the
// other fields in file order. A line is decoded only when the view asks for one of its cells;
// cells that hold the text searched for are shown in red.

#include <QAbstractTableModel>
#include <QCache>
#include <QStringList>

#include "mainwindow/recordfilesearch.h"

class RecordSearchModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit RecordSearchModel(QObject* parent = nullptr);

    void reset(RecordSearchResult result, const QString& text);
    const RecordSearchResult& result() const { return m_result; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const QStringList& fieldsOf(int row) const;

    RecordSearchResult m_result;
    QString m_text;
    mutable QCache<int, QStringList> m_decoded{512};
};
