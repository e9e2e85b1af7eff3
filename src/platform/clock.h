#pragma once
// The current local date and time, asked for by everything that depends on "now": the loaders'
// today, the due scan, the clock caption and the editor's defaults. Tests pass a fake clock.
// QtCore only.

#include <QDateTime>
#include <limits>

class Clock {
  public:
    // What msecsSinceEpoch() gives for a clock that has no valid time.
    static constexpr qint64 kNoTime = std::numeric_limits<qint64>::min();

    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // The same instant as milliseconds since the epoch: cheap enough to read for every row.
    virtual qint64 msecsSinceEpoch() const {
        const QDateTime t = now();
        return t.isValid() ? t.toMSecsSinceEpoch() : kNoTime;
    }

    // "YYYY-MM-DD hh:mm:ss": the clock caption.
    QString secondText() const;
};

class SystemClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    // Millisecond precision is more than the minute-based scan needs, so Linux reads its coarse
    // real-time clock, a few times cheaper than the precise one.
    qint64 msecsSinceEpoch() const override;
};

// A clock that says what it is told; for tests and benchmarks.
class FixedClock : public Clock {
  public:
    explicit FixedClock(QDateTime now = {}) { set(now); }
    QDateTime now() const override { return m_now; }
    qint64 msecsSinceEpoch() const override { return m_msecs; }
    void set(const QDateTime& now) {
        m_now = now;
        m_msecs = now.isValid() ? now.toMSecsSinceEpoch() : kNoTime;
    }

  private:
    QDateTime m_now;
    qint64 m_msecs = kNoTime;
};

// The clock's local time as text in one format, read afresh at every call but formatted anew only
// when the minute changes (local minutes begin with the epoch's minutes, as every time zone in use
// is a whole number of minutes from UTC). For loops that must ask the clock for every row.
class MinuteText {
  public:
    MinuteText(const Clock& clock, QString format) : m_clock(clock), m_format(std::move(format)) {}

    // The empty text when the clock has no valid time.
    const QString& read();

  private:
    const Clock& m_clock;
    QString m_format;
    qint64 m_minute = Clock::kNoTime;
    bool m_valid = false;
    QString m_text;
};
