#pragma once
// Numbers typed into text fields are read leniently, the way the program always has:
// the number at the start of the text counts (blanks before it skipped, an optional sign, digits,
// "." as the decimal point, an optional fraction); a text that does not begin with a number
// counts as 0. So "08" is 8, " 7000ms" is 7000, "12abc" is 12, "abc" and "" are 0.
// Where a whole number is needed the value is rounded to the nearest integer, a half going to the
// even neighbour (1500.5 -> 1500, 3001.5 -> 3002). QtCore only.

#include <QStringView>
#include <QtGlobal>
#include <optional>

// The value of the number the text begins with, or nothing when it begins with none.
std::optional<double> numberAtStart(QStringView text);

// The value of the number the text begins with, 0 when it begins with none.
double leadingNumber(QStringView text);

// Rounds to the nearest integer, halves to even, clamped to the range of qint64.
qint64 roundHalfEven(double value);

// leadingNumber() rounded with roundHalfEven().
qint64 leadingInteger(QStringView text);
