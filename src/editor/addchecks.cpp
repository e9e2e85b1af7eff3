#include "editor/addchecks.h"

#include "editor/duetime.h"
#include "editor/editortexts.h"
#include "platform/messageservice.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"
#include "reminders/dueminute.h"

using namespace editortexts;

std::optional<QString> confirmDueTime(const QString& typed, const DueTimeInputs& inputs,
                                      MessageService& messages) {
    // Read as the list and the scan read it, and saved in the form they match at once.
    const QString due = dueMinuteText(typed);
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
