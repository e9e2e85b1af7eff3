#pragma once
// A calendar date as the user types it into the casting-date field. QtCore only.
//
// Accepted: a four-digit year, month and day joined by "-" or by "/" (the same separator twice,
// month and day with one or two digits: "2026-11-5", "2026-11-05", "2026/11/5"), or eight digits
// "20261105". Blanks around the text are ignored. Anything else, or a date the calendar does not
// have (2026-2-30), is refused: the text never gives another date than the one it names.

#include <QDate>
#include <QStringView>
#include <optional>

std::optional<QDate> readTypedDate(QStringView text);
