#include "planning/equivalentage.h"

#include <QRegularExpression>

#include "planning/temperaturelog.h"

namespace {

constexpr int kEstimateDays = 7;

// The mean of the values, rounded to the nearest whole number, halves away from zero.
int roundedMean(qint64 sum, int count) {
    return int((2 * sum + (sum < 0 ? -count : count)) / (2 * count));
}

}  // namespace

CuringTemperatures::CuringTemperatures(const QMap<QDate, int>& tenthsByDate) {
    if (tenthsByDate.isEmpty()) return;
    m_first = tenthsByDate.firstKey().toJulianDay();
    m_last = tenthsByDate.lastKey().toJulianDay();
    const int n = int(m_last - m_first + 1) + kSearchDays;
    m_tenths.resize(n);
    m_estimated.resize(n);
    // The last seven logged temperatures as a ring.
    int recent[kEstimateDays] = {};
    int recentCount = 0;
    qint64 recentSum = 0;
    auto estimate = [&] { return roundedMean(recentSum, qMin(recentCount, kEstimateDays)); };
    auto logged = tenthsByDate.cbegin();
    for (int k = 0; k < n; ++k) {
        if (logged == tenthsByDate.cend() || logged.key().toJulianDay() != m_first + k) {
            m_tenths[k] = estimate();
            m_estimated[k] = true;
            continue;
        }
        m_tenths[k] = *logged;
        int& slot = recent[recentCount % kEstimateDays];
        if (recentCount >= kEstimateDays) recentSum -= slot;
        slot = *logged;
        recentSum += slot;
        ++recentCount;
        ++logged;
    }
    m_after = estimate();

    m_sum.resize(n + 1);
    m_counted.resize(n + 1);
    m_estimates.resize(n + 1);
    for (int k = 0; k < n; ++k) {
        const bool counts = m_tenths[k] > 0;
        m_sum[k + 1] = m_sum[k] + (counts ? m_tenths[k] : 0);
        m_counted[k + 1] = m_counted[k] + (counts ? 1 : 0);
        m_estimates[k + 1] = m_estimates[k] + (m_estimated[k] ? 1 : 0);
    }
    // The running sums never decrease, so neither does the day a threshold is reached: one sweep.
    auto reach = [n](const QList<int>& running, int step, QList<int>& out) {
        out.resize(n);
        int day = 0;
        for (int k = 0; k < n; ++k) {
            day = qMax(day, k);
            while (day < n && running[day + 1] - running[k] < step) ++day;
            out[k] = day;
        }
    };
    reach(m_sum, kEquivalentTenths, m_reachSum);
    reach(m_counted, kMinCountedDays, m_reachMin);
    reach(m_counted, kMaxCountedDays, m_reachMax);
}

int CuringTemperatures::tenthsAt(qint64 julianDay, bool* estimated) const {
    const qint64 k = julianDay - m_first;
    if (k < m_tenths.size()) {
        *estimated = m_estimated[k];
        return m_tenths[k];
    }
    *estimated = true;
    return m_after;
}

std::optional<CastingTime> parseCastingTime(QStringView text) {
    static const QRegularExpression kPattern(
        QStringLiteral("^\\s*(\\d{4}[-/.]\\d{1,2}[-/.]\\d{1,2})\\s+(\\d{1,2}):(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch m = kPattern.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QDate date = TemperatureLog::parseDate(m.capturedView(1));
    const int hour = m.capturedView(2).toInt();
    const int minute = m.capturedView(3).toInt();
    if (!date.isValid() || hour > 23 || minute > 59) return std::nullopt;
    return CastingTime{date, hour * 60 + minute};
}

QString Projection::dueText() const {
    if (!isDue()) return {};
    return QStringLiteral("%1 %2:%3")
        .arg(dueDate.toString(Qt::ISODate))
        .arg(minuteOfDay / 60, 2, 10, QLatin1Char('0'))
        .arg(minuteOfDay % 60, 2, 10, QLatin1Char('0'));
}

Projection projectEquivalentAge(const CuringTemperatures& t, const CastingTime& casting,
                                QDate today) {
    Projection p;
    if (t.isEmpty()) return p;
    qint64 cast = casting.date.toJulianDay();
    if (cast + 1 < t.m_first) {
        p.status = Projection::Status::BeforeLog;
        return p;
    }
    // After the last logged day every day has the same estimate: a casting later still is
    // projected as if cast on that day, and the dates moved on by the difference.
    const qint64 shift = qMax<qint64>(cast - t.m_last, 0);
    cast -= shift;
    const int start = int(cast + 1 - t.m_first);  // the first curing day
    const int due = qMin(qMax(t.m_reachSum[start], t.m_reachMin[start]), t.m_reachMax[start]);
    const int days = due - start + 1;
    const bool found = days <= kSearchDays;
    const int walked = found ? days : kSearchDays;
    p.estimated = t.m_estimates[start + walked] > t.m_estimates[start];
    const int beforeToday =
        int(qBound(qint64(0), today.toJulianDay() - shift - cast - 1, qint64(walked)));
    p.tenthsSoFar = t.m_sum[start + beforeToday] - t.m_sum[start];
    p.countedSoFar = t.m_counted[start + beforeToday] - t.m_counted[start];
    if (!found) {
        p.status = Projection::Status::NoDueDay;
        return p;
    }
    p.status = Projection::Status::Due;
    p.age = days;
    p.dueDate = QDate::fromJulianDay(cast + shift + days);
    p.minuteOfDay = casting.minuteOfDay;
    return p;
}

QList<CuringDay> curingCurve(const CuringTemperatures& t, const CastingTime& casting, int atLeast) {
    QList<CuringDay> days;
    const qint64 cast = casting.date.toJulianDay();
    if (t.isEmpty() || cast + 1 < t.m_first) return days;
    int sum = 0;
    int counted = 0;
    for (int i = 1; i <= kSearchDays && (i <= atLeast || counted < kMaxCountedDays); ++i) {
        CuringDay day;
        day.date = QDate::fromJulianDay(cast + i);
        day.tenths = t.tenthsAt(cast + i, &day.estimated);
        if (day.tenths > 0) {
            sum += day.tenths;
            ++counted;
        }
        day.sumTenths = sum;
        day.counted = counted;
        days.append(day);
    }
    return days;
}
