#pragma once
// The minute a record falls due, read from its due-time text: the one reading that today's list,
// the due scan, the catch-up of earlier days and the editor share. QtCore only.
//
// The editor writes every due time as "YYYY-MM-DD hh:mm", and such a text is the due minute as it
// stands; texts in that form sort in time order, so the scan compares them with the current
// minute as texts. A due time edited by hand may lack the leading zero of the hour or the minute,
// and may have blanks (spaces, tabs, the full-width blank) before it, after it and more than one
// between date and time ("2024-04-04  9:5 "): it names the same minute and is read as the
// canonical text. The date must stand zero-filled, as today's list finds a day's records by that
// text; anything else (a date alone, "2024-4-4 9:05", an impossible date or hour) names no minute,
// and its record is never announced.

#include <QString>

// The canonical "YYYY-MM-DD hh:mm" text of the due minute, or the empty text when it names none.
// A minute it gives always stands in the text as its first ten characters do ("YYYY-MM-DD").
QString dueMinuteText(const QString& dueTime);

// Whether the due time names a minute at or before `now` (a canonical text); *due then receives
// that minute. Agrees with dueMinuteText() for every text, and is cheap for the common case of a
// canonical due time that lies ahead.
bool dueBy(const QString& dueTime, const QString& now, QString* due);

// The minute `minutes` minutes after (before, when negative) a canonical minute text, as a
// canonical text; wall-clock arithmetic that ignores time zones and their changes.
QString addMinutes(const QString& minute, qint64 minutes);

// A due minute as a note shows it beside `now`: "hh:mm" on the same day, else "MM-DD hh:mm".
QString shortDueText(const QString& dueMinute, const QString& now);
