#pragma once
// The editor's checks for input that is storable but implausible, and the question that lists the
// records of a several-ages add. Each refusal names its field; each question is 是/否 and 否 adds
// nothing. QtCore only: the editor passes its fields' texts in.

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class MessageService;

// A field's text that a.bz cannot store (a comma, a line break, a character GBK cannot hold): the
// message, naming the field, or an empty text.
QString unstorableProblem(const QString& name, const QString& text);

// A casting hour outside 0 to 23 or a minute outside 0 to 59 (as the fields are read, leniently):
// the message, naming the field, or an empty text.
QString castingTimeProblem(const QString& hour, const QString& minute);

// An empty 龄期 beside a typed due time: the due time cannot be checked. The message or empty.
QString missingAgeProblem(const QString& age, const QString& dueTime);

// A casting date more than a year away from today asks first. True to go on.
bool confirmCastingDate(const QDate& castingDate, const QDate& today, MessageService& messages);

// A due time already past (before the current minute) asks first. True to go on. A due time the
// scan cannot read is not asked about here.
bool confirmDueNotPast(const QString& dueTime, const QDateTime& now, MessageService& messages);

// One record of a several-ages add, as the question lists it.
struct AgeRecord {
    QString age;
    QString dueTime;       // empty when no due time could be computed for the age
    int duplicateOf = -1;  // the number of an equal record already in the file, or -1
};

// The ages of a several-ages add: the 龄期 field's own (when filled) and every ticked one, in
// rising order, each once. Ticked ages are whole numbers of days.
QList<QString> agesToAdd(const QString& ageField, const QList<int>& ticked);

// The one question before a several-ages add. True to add them all.
bool confirmSeveralAges(const QList<AgeRecord>& records, const QDateTime& now,
                        MessageService& messages);
