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
    const qint64 last = tenthsByDate.lastKey().toJulianDay();
    m_tenths.resize(last - m_first + 1);
    m_estimated.resize(m_tenths.size());
    // The last seven logged temperatures, oldest first, as a ring.
    int recent[kEstimateDays] = {};
    int recentCount = 0;
    qint64 recentSum = 0;
    auto estimate = [&] { return roundedMean(recentSum, qMin(recentCount, kEstimateDays)); };

    auto logged = tenthsByDate.cbegin();
    for (qint64 i = 0; i < m_tenths.size(); ++i) {
        if (logged.key().toJulianDay() != m_first + i) {
            m_tenths[i] = estimate();
            m_estimated[i] = true;
            continue;
        }
        m_tenths[i] = *logged;
        int& slot = recent[recentCount % kEstimateDays];
        if (recentCount >= kEstimateDays) recentSum -= slot;
        slot = *logged;
        recentSum += slot;
        ++recentCount;
        ++logged;
    }
    m_after = estimate();
}

std::optional<CastingTime> parseCastingTime(QStringView text) {
    static const QRegularExpression kPattern(
        QStringLiteral("^\\s*(\\d{4}[-/]\\d{1,2}[-/]\\d{1,2})\\s+(\\d{1,2}):(\\d{1,2})\\s*$"));
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

Projection projectEquivalentAge(const CuringTemperatures& temperatures, const CastingTime& casting,
                                QDate today) {
    Projection p;
    if (temperatures.isEmpty()) return p;
    const qint64 cast = casting.date.toJulianDay();
    const qint64 todayJd = today.toJulianDay();
    if (cast + 1 < temperatures.firstJulianDay()) {
        p.status = Projection::Status::BeforeLog;
        return p;
    }
    int sum = 0;
    int counted = 0;
    for (int i = 1; i <= kSearchDays; ++i) {
        const qint64 day = cast + i;
        bool estimated = false;
        const int tenths = temperatures.tenthsAt(day, &estimated);
        p.estimated |= estimated;
        if (tenths > 0) {
            sum += tenths;
            ++counted;
        }
        if (day < todayJd) {
            p.tenthsSoFar = sum;
            p.countedSoFar = counted;
        }
        if ((sum >= kEquivalentTenths && counted >= kMinCountedDays) ||
            counted >= kMaxCountedDays) {
            p.status = Projection::Status::Due;
            p.age = i;
            p.dueDate = QDate::fromJulianDay(day);
            p.minuteOfDay = casting.minuteOfDay;
            return p;
        }
    }
    p.status = Projection::Status::NoDueDay;
    return p;
}
