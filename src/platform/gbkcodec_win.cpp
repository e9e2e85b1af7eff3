#include <windows.h>

#include "platform/gbkcodec_p.h"

namespace gbk::detail {
namespace {

constexpr UINT kCodePage = 936;
// Converted in pieces of about this many bytes or characters: a piece that holds something GBK
// cannot is done again one character at a time.
constexpr qsizetype kPiece = 4096;

// Windows' code page 936 also maps GBK's user-defined areas (AAA1 to AFFE, F8A1 to FEFE, A140 to
// A7A0 and a few more) and the lone byte 0xFF to the private use area. The C library's GBK has
// none of them, and neither has this codec: the same bytes are GBK on every system.
bool isPrivateUse(wchar_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

bool isLead(uchar c) {
    return c >= 0x81 && c <= 0xFE;
}
bool isTrail(uchar c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// The bytes to UTF-16 at `out` (room for n units); the number of units, or -1 when any byte is
// not GBK.
int strictDecode(const char* in, int n, wchar_t* out) {
    const int k = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, in, n, out, n);
    if (k <= 0) return -1;
    for (int i = 0; i < k; ++i)
        if (isPrivateUse(out[i])) return -1;
    return k;
}

// The characters to GBK at `out` (room for 2 n bytes); the number of bytes, or -1 when any
// character has no GBK form. Surrogates never have one.
int strictEncode(const wchar_t* in, int n, char* out) {
    for (int i = 0; i < n; ++i)
        if (isPrivateUse(in[i]) || QChar::isSurrogate(in[i])) return -1;
    BOOL usedDefault = FALSE;
    const int k = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, in, n, out, 2 * n, nullptr,
                                      &usedDefault);
    return k > 0 && !usedDefault ? k : -1;
}

}  // namespace

qsizetype decodeInto(QByteArrayView bytes, QString* out) {
    const char* const data = bytes.data();
    const qsizetype n = bytes.size();
    QString result(n, Qt::Uninitialized);  // GBK never yields more UTF-16 units than bytes
    auto* const units = reinterpret_cast<wchar_t*>(result.data());
    qsizetype written = 0;
    qsizetype bad = 0;
    for (qsizetype i = 0; i < n;) {
        // A piece that ends between two characters, if every lead byte is followed by a trail
        // byte; a high byte on its own other than 0x80 (the euro sign) sends it the slow way.
        qsizetype end = i;
        bool plain = true;
        while (end < n && end - i < kPiece) {
            const uchar c = uchar(data[end]);
            if (isLead(c) && end + 1 < n && isTrail(uchar(data[end + 1]))) {
                end += 2;
            } else {
                plain = plain && (c < 0x80 || c == 0x80);
                ++end;
            }
        }
        const int k = plain ? strictDecode(data + i, int(end - i), units + written) : -1;
        if (k >= 0) {
            written += k;
            i = end;
            continue;
        }
        // One character at a time: a pair, else one byte; a byte that is not GBK becomes U+FFFD
        // and the next byte starts afresh, as the C library's converter does. This may end one
        // byte past the piece.
        while (i < end) {
            const uchar c = uchar(data[i]);
            if (c < 0x80) {
                units[written++] = c;
                ++i;
            } else if (i + 1 < n && strictDecode(data + i, 2, units + written) == 1) {
                ++written;
                i += 2;
            } else if (strictDecode(data + i, 1, units + written) == 1) {
                ++written;
                ++i;
            } else {
                units[written++] = 0xFFFD;
                ++bad;
                ++i;
            }
        }
    }
    result.truncate(written);
    if (out) *out = result;
    return bad;
}

qsizetype encodeInto(QStringView text, QByteArray* out) {
    const auto* const units = reinterpret_cast<const wchar_t*>(text.utf16());
    const qsizetype n = text.size();
    QByteArray result(2 * n, Qt::Uninitialized);  // at most two bytes per UTF-16 unit
    qsizetype written = 0;
    qsizetype bad = 0;
    for (qsizetype i = 0; i < n;) {
        qsizetype end = qMin(n, i + kPiece);
        if (end < n && QChar::isHighSurrogate(units[end - 1])) ++end;  // a pair stays whole
        const int k = strictEncode(units + i, int(end - i), result.data() + written);
        if (k >= 0) {
            written += k;
            i = end;
            continue;
        }
        // One character at a time; a surrogate pair is one character.
        while (i < end) {
            const int length =
                i + 1 < n && QChar::isHighSurrogate(units[i]) && QChar::isLowSurrogate(units[i + 1])
                    ? 2
                    : 1;
            const int k1 = strictEncode(units + i, length, result.data() + written);
            if (k1 >= 0) {
                written += k1;
            } else {
                result[written++] = '?';
                ++bad;
            }
            i += length;
        }
    }
    result.truncate(written);
    if (out) *out = result;
    return bad;
}

}  // namespace gbk::detail
