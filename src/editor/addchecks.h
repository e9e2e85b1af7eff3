#pragma once
// The questions 添加 asks before it saves a record, each naming the field it is about. A record the
// user declines is neither saved nor added. QtCore only: the editor passes its fields' texts in.

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class MessageService;
class RecordGrid;

// The fields "?" computes the due time from.
struct DueTimeInputs {
    QDate castingDate;
    QString castingHour;
    QString castingMinute;
    QString curingAgeDays;
    QString ageHours;
    QString ageMinutes;
};

// The due time to save, or nothing when the user declines.
// - Empty, or a text that names no due minute (reminders/dueminute.h): 是/否 (否 the default); 是
//   keeps the text, which is never reminded.
// - Otherwise the due minute in the editor's form ("2026-12-07 9:5 " and "2026-12-7 9:05" are
//   saved as "2026-12-07 09:05"); when "?" gives another valid due time for the inputs: 是/否/取消;
//   是 takes the computed due time, 否 keeps the typed one, 取消 declines. When "?" gives none (no
//   age, an age below one day) the typed due time is kept without a question.
std::optional<QString> confirmDueTime(const QString& typed, const DueTimeInputs& inputs,
                                      MessageService& messages);

// Whether to add a record whose fields (the due mark left out) equal those of a record the grid
// holds already: no question when there is none, else 是/否.
bool confirmDuplicate(const RecordGrid& grid, const QStringList& fields, MessageService& messages);
