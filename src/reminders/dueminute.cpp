#include "reminders/dueminute.h"

#include <QDate>
#include <QRegularExpression>

#include "records/specimenrecord.h"

namespace {

bool validMinute(int year, int month, int day, int hour, int minute) {
    return QDate::isValid(year, month, day) && hour >= 0 && hour < 24 && minute >= 0 && minute < 60;
}

// Whether the text has the separators of "YYYY-MM-DD hh:mm" in their places.
bool hasCanonicalSeparators(const QString& text) {
    return text.size() == 16 && text.at(4) == u'-' && text.at(7) == u'-' && text.at(10) == u' ' &&
           text.at(13) == u':';
}

}  // namespace

QString dueMinuteText(const QString& dueTime) {
    if (isDueTimeText(dueTime)) return dueTime;
    static const QRegularExpression kLoose(QStringLiteral(
        "^\\s*([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})\\s+([0-9]{1,2}):([0-9]{1,2})\\s*$"));
    const QRegularExpressionMatch m = kLoose.match(dueTime);
    if (!m.hasMatch()) return {};
    int v[5];
    for (int i = 0; i < 5; ++i) v[i] = m.capturedView(i + 1).toInt();
    if (!validMinute(v[0], v[1], v[2], v[3], v[4])) return {};
    return QStringLiteral("%1-%2-%3 %4:%5")
        .arg(v[0], 4, 10, QLatin1Char('0'))
        .arg(v[1], 2, 10, QLatin1Char('0'))
        .arg(v[2], 2, 10, QLatin1Char('0'))
        .arg(v[3], 2, 10, QLatin1Char('0'))
        .arg(v[4], 2, 10, QLatin1Char('0'));
}

bool dueBy(const QString& dueTime, const QString& now, QString* due) {
    // With the separators in place, a text that sorts after now is either a minute ahead (the
    // canonical form sorts in time order) or holds a non-digit and names no minute at all.
    if (hasCanonicalSeparators(dueTime) && dueTime > now) return false;
    *due = dueMinuteText(dueTime);
    return !due->isEmpty() && *due <= now;
}
