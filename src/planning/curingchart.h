#pragma once
// A small chart of one same-condition record's curing: the ℃·d counted day by day against the
// 600 ℃·d line, with the days on which 14 and 60 days have been counted, the projected due day
// and today marked. Days whose temperature is logged are drawn solid with filled points, estimated
// days dashed with hollow points.

#include <QList>
#include <QString>
#include <QWidget>

#include "planning/equivalentage.h"

class CuringChart : public QWidget {
    Q_OBJECT
  public:
    explicit CuringChart(QWidget* parent = nullptr);

    // The record's curve (curing day i is the casting date + i), its projected age (0 without
    // one) and today's curing day.
    void setCurve(const QString& caption, QList<CuringDay> days, int dueAge, int today);
    // No curve: the text stands in its place.
    void clear(const QString& text);

    const QList<CuringDay>& curve() const { return m_days; }
    QString text() const { return m_caption; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The first curing day on which `count` days have been counted, 0 when none.
    int countedDay(int count) const;

    QString m_caption;
    QList<CuringDay> m_days;
    int m_dueAge = 0;
    int m_today = -1;
};
