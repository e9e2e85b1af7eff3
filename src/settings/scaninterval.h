#pragma once
// The scan interval as the settings window accepts it. QtCore only.
//
// Rule: the text must begin with a number in the program's lenient reading: blanks (space, tab),
// an optional sign, then a digit, or a point followed by a digit. That number is read as
// leadingNumber() reads it and rounded half to even, as everywhere else; what follows it is ignored
// as everywhere else, so " 7000ms" is 7000 and "1500.5" is 1500. The result must lie in
// 0..kMaxScanIntervalMs: 0 stops the scan, and anything above a minute would let a due minute pass
// without a scan. A text without a leading number ("abc", "") is refused rather than read as 0, and
// so is a number that rounds to a value outside the range ("-1", "60001", "60000.6").

#include <QStringView>
#include <optional>

inline constexpr int kMaxScanIntervalMs = 60000;

// The interval in milliseconds by the rule above, or nothing when the text is refused.
std::optional<int> readScanInterval(QStringView text);
