#pragma once
// The minute a record falls due, read from its due-time text. QtCore only.
//
// The editor writes every due time as "YYYY-MM-DD hh:mm", and such a text is the due minute as it
// stands; texts in that form sort in time order, so the scan compares them with the current
// minute as texts. A due time edited by hand may lack leading zeros or carry extra blanks
// ("2024-4-4  9:05"): it names the same minute and is read as the canonical text. Anything else
// (a date alone, an impossible date or hour) names no minute, and its record is never announced.

#include <QString>

// The canonical "YYYY-MM-DD hh:mm" text of the due minute, or the empty text when it names none.
QString dueMinuteText(const QString& dueTime);

// Whether the due time names a minute at or before `now` (a canonical text); *due then receives
// that minute. Cheap for the common case of a canonical due time that lies ahead.
bool dueBy(const QString& dueTime, const QString& now, QString* due);
