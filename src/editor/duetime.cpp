#include "editor/duetime.h"

#include <cmath>

#include "platform/lenientnumber.h"

namespace {

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;
// More days than the calendar of years 1 to 9999 holds; beyond it the day count is not converted.
constexpr double kMaxDays = 3.7e6;

// One "0" in front of any text that is not exactly two characters long.
QString twoCharacters(QStringView text) {
    if (text.size() == 2) return text.toString();
    return QLatin1Char('0') + text.toString();
}

QStringView part(const QList<QStringView>& parts, int index) {
    return index < parts.size() ? parts.at(index) : QStringView();
}

}  // namespace

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-M-d"));
}

QString numberText(double value) {
    QString digits = QString::number(std::fabs(value), 'G', 15);
    if (digits.startsWith(QLatin1String("0."))) digits.remove(0, 1);
    return (value < 0 ? QLatin1Char('-') : QLatin1Char(' ')) + digits;
}

double curingDayCount(QStringView curingAgeDays) {
    return std::floor(leadingNumber(curingAgeDays));
}

std::optional<QString> rawDueTime(const QDate& castingDate, QStringView castingHour,
                                  QStringView castingMinute, QStringView curingAgeDays,
                                  QStringView ageHours, QStringView ageMinutes) {
    double hours = leadingNumber(ageHours) + leadingNumber(castingHour);
    double minutes = leadingNumber(ageMinutes) + leadingNumber(castingMinute);
    if (minutes >= 60) {
        hours += 1;
        minutes -= 60;
    }
    QDate base = castingDate;
    if (hours >= 24) {
        hours -= 24;
        base = base.addDays(1);
    }

    const double days = curingDayCount(curingAgeDays);
    if (!(days >= 1)) return std::nullopt;
    if (days > kMaxDays) return std::nullopt;
    const QDate due = base.addDays(static_cast<qint64>(days));
    if (!due.isValid() || due.year() < kFirstYear || due.year() > kLastYear) return std::nullopt;

    return dateText(due) + numberText(hours) + QLatin1Char(':') + numberText(minutes);
}

QString Timesorting(QStringView raw) {
    const QList<QStringView> fields = raw.split(u' ');
    const QList<QStringView> date = part(fields, 0).split(u'-');
    QString hour = part(fields, 1).toString();
    hour.remove(u':');
    const QStringView minute = part(fields, 2);

    return part(date, 0).toString() + QLatin1Char('-') + twoCharacters(part(date, 1)) +
           QLatin1Char('-') + twoCharacters(part(date, 2)) + QLatin1Char(' ') +
           twoCharacters(hour) + QLatin1Char(':') + twoCharacters(minute);
}

std::optional<QString> tianjia(const QDate& castingDate, QStringView castingHour,
                               QStringView castingMinute, QStringView curingAgeDays,
                               QStringView ageHours, QStringView ageMinutes) {
    const std::optional<QString> raw =
        rawDueTime(castingDate, castingHour, castingMinute, curingAgeDays, ageHours, ageMinutes);
    if (!raw) return std::nullopt;
    return Timesorting(*raw);
}
