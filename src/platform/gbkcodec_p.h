#pragma once
// The conversions behind gbkcodec.h, one file per system (gbkcodec_unix.cpp, gbkcodec_win.cpp).

#include <QByteArray>
#include <QString>

namespace gbk::detail {

// Decodes into *out (when given), a byte that is not GBK as one U+FFFD; returns how many bytes
// were not GBK.
qsizetype decodeInto(QByteArrayView bytes, QString* out);

// Encodes into *out (when given), a character without a GBK form (a surrogate pair counts as one)
// as "?"; returns how many characters had none.
qsizetype encodeInto(QStringView text, QByteArray* out);

}  // namespace gbk::detail
