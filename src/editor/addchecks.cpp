#include "editor/addchecks.h"

#include <QRegularExpression>

#include "editor/duetime.h"
#include "editor/editortexts.h"
#include "platform/messageservice.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"
#include "reminders/dueminute.h"

using namespace editortexts;

namespace {

// A date typed with a one-digit month or day ("2024-4-4 9:05") means the minute it seems to mean,
// but today's list finds a day's records by the zero-filled date alone: the editor fills it in,
// so that nothing it saves in such a form goes unannounced.
QString zeroFilledDate(const QString& typed) {
    static const QRegularExpression kShortDate(
        QStringLiteral("^([ \\t\\x{3000}]*[0-9]{4})-([0-9]{1,2})-([0-9]{1,2})(?=[ \\t\\x{3000}])"));
    const QRegularExpressionMatch m = kShortDate.match(typed);
    if (!m.hasMatch()) return typed;
    return QStringLiteral("%1-%2-%3")
               .arg(m.capturedView(1))
               .arg(m.capturedView(2).toInt(), 2, 10, QLatin1Char('0'))
               .arg(m.capturedView(3).toInt(), 2, 10, QLatin1Char('0')) +
           typed.mid(m.capturedEnd(0));
}

}  // namespace

std::optional<QString> confirmDueTime(const QString& typed, const DueTimeInputs& inputs,
                                      MessageService& messages) {
    // Read as the list and the scan read it, and saved in the form they match at once.
    const QString due = dueMinuteText(zeroFilledDate(typed));
    if (due.isEmpty()) {
        const QString question = typed.isEmpty() ? kDueTimeMissing : kDueTimeMalformed.arg(typed);
        if (!messages.ask(kTitleNote, question)) return std::nullopt;
        return typed;
    }
    const std::optional<QString> computed =
        tianjia(inputs.castingDate, inputs.castingHour, inputs.castingMinute, inputs.curingAgeDays,
                inputs.ageHours, inputs.ageMinutes);
    if (!computed || *computed == due || !isDueTimeText(*computed)) return due;
    switch (messages.choose(kTitleNote, kDueTimeStale.arg(due, *computed))) {
        case Answer::Yes:
            return computed;
        case Answer::No:
            return due;
        case Answer::Cancel:
            break;
    }
    return std::nullopt;
}

bool confirmDuplicate(const RecordGrid& grid, const QStringList& fields, MessageService& messages) {
    const int row = grid.findRow(fields.mid(0, recordcolumns::kDueMark - 1), 1);
    return row < 0 || messages.ask(kTitleNote, kDuplicate.arg(row));
}
