#include "reminders/dueminute.h"

#include <QDateTime>
#include <QRegularExpression>

#include "records/specimenrecord.h"

namespace {

// Whether the text has the shape of "YYYY-MM-DD hh:mm": digits and separators in their places.
// Such a text reads as itself or as no minute at all, never as another minute.
bool hasCanonicalShape(const QString& text) {
    static const char kShape[] = "dddd-dd-dd dd:dd";
    if (text.size() != 16) return false;
    for (int i = 0; i < 16; ++i) {
        const QChar c = text.at(i);
        if (kShape[i] == 'd' ? (c < u'0' || c > u'9') : c != QLatin1Char(kShape[i])) return false;
    }
    return true;
}

}  // namespace

QString dueMinuteText(const QString& dueTime) {
    if (isDueTimeText(dueTime)) return dueTime;
    static const QRegularExpression kLoose(QStringLiteral(
        "^[ \\t\\x{3000}]*([0-9]{4}-[0-9]{2}-[0-9]{2})[ \\t\\x{3000}]+([0-9]{1,2}):([0-9]{1,2})"
        "[ \\t\\x{3000}]*$"));
    const QRegularExpressionMatch m = kLoose.match(dueTime);
    if (!m.hasMatch()) return {};
    const QString minute = QStringLiteral("%1 %2:%3")
                               .arg(m.capturedView(1))
                               .arg(m.capturedView(2).toInt(), 2, 10, QLatin1Char('0'))
                               .arg(m.capturedView(3).toInt(), 2, 10, QLatin1Char('0'));
    return isDueTimeText(minute) ? minute : QString();
}

bool dueBy(const QString& dueTime, const QString& now, QString* due) {
    // A canonically shaped text that sorts after now is a minute ahead or no minute at all.
    if (hasCanonicalShape(dueTime)) {
        if (dueTime > now || !isDueTimeText(dueTime)) return false;
        *due = dueTime;
        return true;
    }
    *due = dueMinuteText(dueTime);
    return !due->isEmpty() && *due <= now;
}

QString addMinutes(const QString& minute, qint64 minutes) {
    const QDateTime at(QDate::fromString(minute.left(10), Qt::ISODate),
                       QTime::fromString(minute.mid(11), QStringLiteral("hh:mm")), Qt::UTC);
    return at.addSecs(minutes * 60).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

QString shortDueText(const QString& dueMinute, const QString& now) {
    const bool sameDay = QStringView(dueMinute).left(10) == QStringView(now).left(10);
    return dueMinute.mid(sameDay ? 11 : 5);
}
