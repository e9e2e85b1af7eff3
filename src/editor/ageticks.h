#pragma once
// The row of ticks beside 龄期 for a several-ages add: 3, 7, 14, 28, 56 and 60 days and a free
// field for one more whole number of days. What is ticked and typed is kept in mirosta.ini as soon
// as it changes, and comes back when the editor is opened again.

#include <QList>
#include <QWidget>

class QCheckBox;
class QLineEdit;

class AgeTicks : public QWidget {
    Q_OBJECT
  public:
    AgeTicks(QString settingsPath, QWidget* parent);

    // The ticked ages, then the free one when it holds a whole number of at least one day.
    QList<int> ages() const;
    QLineEdit* otherAge() const { return m_otherAge; }

    // Lays the ticks and the free field out over the row's width.
    void layOut();

  private:
    void keep() const;
    void restore();

    QString m_settingsPath;
    QList<std::pair<int, QCheckBox*>> m_ticks;
    QLineEdit* m_otherAge = nullptr;
};
