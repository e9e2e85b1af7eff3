#pragma once
// The current local date and time, asked for by everything that depends on "now": the loaders'
// today, the due scan, the clock caption and the editor's defaults. Tests pass a fake clock.
// QtCore only.

#include <QDateTime>

class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    // "YYYY-MM-DD": today's date, which selects today's records.
    QString todayText() const;
    // "YYYY-MM-DD hh:mm": what the due scan compares with each due time.
    QString minuteText() const;
    // "YYYY-MM-DD hh:mm:ss": the clock caption.
    QString secondText() const;
};

class SystemClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that says what it is told; for tests and benchmarks.
class FixedClock : public Clock {
  public:
    explicit FixedClock(QDateTime now = {}) : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }

  private:
    QDateTime m_now;
};
