#pragma once
// The order in which a record grid's view shows its rows when a heading is clicked: texts as a
// Chinese reader orders them (pinyin), numbers within texts by their value ("2号楼" before
// "10号楼"), the grid's own order among equal texts, and the grid's trailing empty row always
// last. Without a sort column the rows stand in the grid's order.

#include <QCollator>
#include <QSortFilterProxyModel>

class RecordSortProxy : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit RecordSortProxy(QObject* parent = nullptr);

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    QCollator m_collator;
};
