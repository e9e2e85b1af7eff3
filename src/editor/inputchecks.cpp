#include "editor/inputchecks.h"

#include <QSet>
#include <algorithm>

#include "editor/editortexts.h"
#include "platform/gbkcodec.h"
#include "platform/lenientnumber.h"
#include "platform/messageservice.h"
#include "records/specimenrecord.h"

using namespace editortexts;

namespace {

QString outOfRange(const QString& name, const QString& text, int last) {
    const double value = leadingNumber(text);
    if (value >= 0 && value < last + 1) return {};
    return kCastingTimeOutOfRange.arg(name, text).arg(last);
}

// "YYYY-MM-DD hh:mm" of the minute.
QString minuteOf(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

}  // namespace

QString unstorableProblem(const QString& name, const QString& text) {
    if (text.contains(u',') || text.contains(u'\n') || text.contains(u'\r'))
        return kFieldHasSeparator.arg(name);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView ch = QStringView(text).mid(i, n);
        if (!gbk::canEncode(ch)) return kFieldHasUnsavable.arg(name, ch.toString());
        i += n;
    }
    return {};
}

QString castingTimeProblem(const QString& hour, const QString& minute) {
    const QString problem = outOfRange(kCastingHourName, hour, 23);
    return problem.isEmpty() ? outOfRange(kCastingMinuteName, minute, 59) : problem;
}

QString missingAgeProblem(const QString& age, const QString& dueTime) {
    return age.trimmed().isEmpty() && !dueTime.isEmpty() ? kAgeMissingForDueTime : QString();
}

bool confirmCastingDate(const QDate& castingDate, const QDate& today, MessageService& messages) {
    if (castingDate >= today.addYears(-1) && castingDate <= today.addYears(1)) return true;
    return messages.ask(kTitleNote,
                        kCastingDateFar.arg(castingDate.toString(QStringLiteral("yyyy-MM-dd"))));
}

bool confirmDueNotPast(const QString& dueTime, const QDateTime& now, MessageService& messages) {
    if (!isDueTimeText(dueTime) || dueTime >= minuteOf(now)) return true;
    const bool today = QStringView(dueTime).left(10) == minuteOf(now).left(10);
    return messages.ask(kTitleNote, today ? kDuePassedToday : kDuePassed);
}

QList<QString> agesToAdd(const QString& ageField, const QList<int>& ticked) {
    QList<std::pair<double, QString>> ages;
    QSet<QString> seen;
    auto add = [&](const QString& age) {
        if (age.trimmed().isEmpty() || seen.contains(age.trimmed())) return;
        seen.insert(age.trimmed());
        ages.append({leadingNumber(age), age});
    };
    add(ageField);
    for (int days : ticked) add(QString::number(days));
    std::stable_sort(ages.begin(), ages.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<QString> result;
    for (const auto& age : ages) result.append(age.second);
    return result;
}

bool confirmSeveralAges(const QList<AgeRecord>& records, const QDateTime& now,
                        MessageService& messages) {
    QStringList lines;
    for (const AgeRecord& r : records) {
        QString line = kSeveralAgesLine.arg(r.age, r.dueTime.isEmpty() ? kNoDueTime : r.dueTime);
        if (!isDueTimeText(r.dueTime))  // none, or hours carried past a day ("… 29:05")
            line += kSeveralAgesNoReminder;
        else if (r.dueTime < minuteOf(now))
            line += kSeveralAgesPast;
        if (r.duplicateOf > 0) line += kSeveralAgesSame.arg(r.duplicateOf);
        lines << line;
    }
    return messages.ask(kTitleNote,
                        kSeveralAgesQuestion.arg(records.size()).arg(lines.join(u'\n')));
}
