#pragma once
// Lines of a.bz read in their raw GBK bytes, without decoding them. Field separators, line ends and
// ASCII digits never occur inside a GBK two-byte character (its second byte is 0x40 or above), so
// a line can be cut at its commas and a due time read from its bytes. QtCore only.

#include <QByteArrayView>
#include <QDateTime>
#include <optional>

namespace rawline {

struct Span {
    qsizetype start = 0;   // offset of the line's first byte in the file
    qsizetype length = 0;  // without the line end
};

// The field with the 0-based index, or nothing when the line has fewer fields.
std::optional<QByteArrayView> field(QByteArrayView line, int index);

// A due time as one number that sorts as the text does: YYYYMMDDhhmm.
qint64 dueKey(QDate date, int minuteOfDay);
qint64 dueKey(const QDateTime& time);
QDate dueKeyDate(qint64 key);

// The key of a due-time field: "YYYY-MM-DD hh:mm" read as the scan reads it (blanks around and
// between, the hour and minute with or without their zero), or a real calendar date followed by
// anything else, taken as 00:00. Nothing for any other text.
std::optional<qint64> dueKey(QByteArrayView field);

// Whether the field, blanks (ASCII and the full-width blank) around it ignored, is exactly `text`.
bool equalsTrimmed(QByteArrayView field, QByteArrayView text);

}  // namespace rawline
