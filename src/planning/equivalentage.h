#pragma once
// The equivalent curing age of same-condition specimens: they are tested when the daily mean
// temperatures, added up day by day, reach 600 ℃·d; days with a mean of 0 ℃ or below are not
// counted; the age is at least 14 counted days and at most 60.
//
// Curing day i (i = 1, 2, ...) is the calendar date casting date + i. Its temperature is the logged
// one; without one, the mean of the last 7 logged days before it (fewer if fewer exist), rounded to
// a tenth of a degree, and the projection is marked as estimated. A day above 0 adds one counted
// day and its temperature. The due day is the first i at which the sum is at least 600 with at
// least 14 counted days, or at which the counted days reach 60; the due time is casting date + i at
// the casting time. There is no projection without any logged day, for a day before the first
// logged one (nothing to estimate it from), or when no due day comes within 366 days. QtCore only.

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

inline constexpr int kEquivalentTenths = 6000;  // 600 ℃·d
inline constexpr int kMinCountedDays = 14;
inline constexpr int kMaxCountedDays = 60;
inline constexpr int kSearchDays = 366;

struct CastingTime {
    QDate date;
    int minuteOfDay = 0;
};

// The casting date field as the editor writes it ("2024-3-7 09:05"; "/" and "." are read as "-");
// nothing
// when it holds no real date and time.
std::optional<CastingTime> parseCastingTime(QStringView text);

struct Projection {
    enum class Status { Due, EmptyLog, BeforeLog, NoDueDay };
    Status status = Status::EmptyLog;
    int age = 0;  // i, the equivalent age in days
    QDate dueDate;
    int minuteOfDay = 0;
    bool estimated = false;
    // Up to the day before today (and never past the due day): the ℃·d counted and the counted
    // days.
    int tenthsSoFar = 0;
    int countedSoFar = 0;

    bool isDue() const { return status == Status::Due; }
    // "YYYY-MM-DD hh:mm"; empty without a due day.
    QString dueText() const;
};

// The temperature of every day, logged or estimated, from the first logged day through 366 days
// after the last one, laid out once for a log. Running sums of it, and for each first curing day
// the day on which each of the rule's thresholds is reached, make a projection a few look-ups
// however long the specimens cure.
class CuringTemperatures {
  public:
    explicit CuringTemperatures(const QMap<QDate, int>& tenthsByDate);

    bool isEmpty() const { return m_tenths.isEmpty(); }
    QDate firstDate() const { return QDate::fromJulianDay(m_first); }

    // The day's temperature in tenths of ℃ and whether it is estimated; the day must not lie
    // before firstDate().
    int tenthsAt(qint64 julianDay, bool* estimated) const;

  private:
    friend Projection projectEquivalentAge(const CuringTemperatures&, const CastingTime&, QDate);
    friend QList<struct CuringDay> curingCurve(const CuringTemperatures&, const CastingTime&, int);

    qint64 m_first = 0;
    qint64 m_last = 0;
    QList<int> m_tenths;  // day k is m_first + k
    QList<bool> m_estimated;
    int m_after = 0;  // every day after the table
    // Over days [0, k): the ℃·d counted, the days counted, the days estimated.
    QList<int> m_sum, m_counted, m_estimates;
    // For a first curing day k: the day on which 600 ℃·d, 14 and 60 counted days are reached
    // (the table's length when not within it).
    QList<int> m_reachSum, m_reachMin, m_reachMax;
};

Projection projectEquivalentAge(const CuringTemperatures& temperatures, const CastingTime& casting,
                                QDate today);

// One curing day as the rule counts it.
struct CuringDay {
    QDate date;
    int tenths = 0;  // its temperature, tenths of ℃
    bool estimated = false;
    int sumTenths = 0;  // the ℃·d counted through this day, in tenths
    int counted = 0;    // the days counted through this day
};

// Curing days 1, 2, ... with their running sums: at least `atLeast` of them, and on until 60 days
// are counted, never more than 366. Empty when the log cannot project the casting (an empty log,
// or one that starts after the first curing day).
QList<CuringDay> curingCurve(const CuringTemperatures& temperatures, const CastingTime& casting,
                             int atLeast);
