#pragma once
// GBK (code page 936) text, exact both ways: through the C library's iconv on Unix systems, through
// the code-page functions of Windows there (whatever the system's own code page). Both take the
// same bytes for GBK and the same characters for encodable. QtCore only. Decoding never fails: a
// byte sequence that is not GBK becomes U+FFFD, one per bad byte. Encoding never fails either: a
// character GBK cannot hold becomes "?".

#include <QByteArray>
#include <QString>

namespace gbk {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);

// True when every character of the text has a GBK form (so encode() would not write "?").
bool canEncode(QStringView text);

// True when the bytes are valid GBK throughout (so decode() would not invent U+FFFD).
bool isValid(QByteArrayView bytes);

}  // namespace gbk
