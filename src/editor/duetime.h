#pragma once
// The due time of a batch: casting date and time plus the curing age (whole days, extra hours and
// extra minutes), written as "YYYY-MM-DD hh:mm", the one form the due scan and the main window's
// list match against. QtCore only, no widgets: the editor passes its fields' texts in.
//
// The rules, which the records already stored in a.bz follow, so they are kept exactly:
// - Every number is read leniently (leadingNumber): "08" is 8, "12abc" is 12, "" and "abc" are 0.
// - Hours h = extra hours + casting hour, minutes m = extra minutes + casting minute. One minute
//   carry (m >= 60: h + 1, m - 60), then one hour carry (h >= 24: h - 24 and one day later).
//   Nothing is carried twice; out-of-range inputs give out-of-range texts, never a crash.
// - The day count is the whole part of the age (7.9 gives 7); below 1 there is no due time.
// - The raw text is the date text, then the number text of h, ":" and the number text of m, so it
//   reads "2024-4-4 9: 5" (a number text starts with a blank unless it is negative).
// - Timesorting() brings month, day, hour and minute to two characters by putting one "0" in front
//   of any text whose length is not two: "5" -> "05", "" -> "0", "8.5" -> "08.5".

#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>

// Year (four digits), month and day without leading zeros, joined by "-": "2024-3-7". This is
// also the date part of the casting-date field that the editor stores.
QString dateText(const QDate& date);

// A number the way the raw due-time text has always written it: a blank in front of a value that
// is zero or positive, "-" in front of a negative one, no zero before the decimal point, up to 15
// significant digits and no trailing zeros: 14 -> " 14", 0 -> " 0", 8.5 -> " 8.5", 0.5 -> " .5",
// -3 -> "-3".
QString numberText(double value);

// The whole number of days of a curing age text (7.9 -> 7, "abc" -> 0, "-2" -> -2).
double curingDayCount(QStringView curingAgeDays);

// The raw due-time text, before normalisation. nullopt when the day count is below 1 or the due
// date would fall outside the years 1 to 9999.
std::optional<QString> rawDueTime(const QDate& castingDate, QStringView castingHour,
                                  QStringView castingMinute, QStringView curingAgeDays,
                                  QStringView ageHours, QStringView ageMinutes);

// Normalises a raw due-time text: split at every blank into date, hour and minute (missing fields
// count as empty, further fields are ignored), the date at every "-" into year, month and day, ":"
// removed from the hour, then month, day, hour and minute padded as described above. The year is
// kept as it stands.
QString Timesorting(QStringView raw);

// The due time, Timesorting(rawDueTime(...)); nullopt exactly when rawDueTime() gives none.
std::optional<QString> tianjia(const QDate& castingDate, QStringView castingHour,
                               QStringView castingMinute, QStringView curingAgeDays,
                               QStringView ageHours, QStringView ageMinutes);
