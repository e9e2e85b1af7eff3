#pragma once
// CSV text that spreadsheet programs, Excel first, open as it was meant: UTF-8 with a byte-order
// mark (without one Excel reads the bytes in the system's code page and Chinese turns to noise),
// CR LF after every row, fields separated by commas and quoted only where a comma, a quote or a
// line end stands in them (a quote inside is doubled). A field that a spreadsheet would run as a
// formula (one that begins with =, @, a tab, or + or - that does not begin a plain number) gets an
// apostrophe in front, so that a remark can never start a calculation. QtCore only.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace csv {

// The byte-order mark that opens the file.
inline constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// One field as it stands in a row.
QString field(const QString& text);

// Appends one row, CR LF included, in UTF-8.
void appendRow(QByteArray& out, const QStringList& fields);

// A whole file: the byte-order mark, the heading row, then the rows.
QByteArray document(const QStringList& headings, const QList<QStringList>& rows);

}  // namespace csv
