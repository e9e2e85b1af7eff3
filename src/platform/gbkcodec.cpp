#include "platform/gbkcodec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace gbk {
namespace {

// CP936 is what Windows writes; glibc's GBK lacks a few of its mappings (the euro sign, 0x80).
constexpr const char* kCharset = "CP936";

// One conversion direction, opened once per thread and reset before each use.
class Converter {
  public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        return m_cd;
    }

  private:
    iconv_t m_cd;
};

Converter& decoder() {
    thread_local Converter c("UTF-16LE", kCharset);
    return c;
}

Converter& encoder() {
    thread_local Converter c(kCharset, "UTF-16LE");
    return c;
}

bool isAscii(const char* p, const char* end) {
    // Eight bytes at a time while there are eight; the common case is a line of plain ASCII.
    for (; end - p >= 8; p += 8) {
        quint64 word;
        memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull) return false;
    }
    for (; p < end; ++p)
        if (uchar(*p) & 0x80) return false;
    return true;
}

// Decodes; returns the number of bytes that were not GBK.
qsizetype decodeInto(QByteArrayView bytes, QString* out) {
    const qsizetype n = bytes.size();
    QString result;
    result.resize(n);  // GBK never yields more UTF-16 units than bytes
    if (n == 0) {
        if (out) *out = result;
        return 0;
    }
    Converter& conv = decoder();
    iconv_t cd = conv.handle();
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = static_cast<size_t>(n);
    char* outPtr = reinterpret_cast<char*>(result.data());
    size_t outLeft = static_cast<size_t>(n) * 2;
    qsizetype bad = 0;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
        if (errno == EILSEQ || errno == EINVAL) {
            // Not GBK (or a lead byte cut off at the end): one replacement character, skip a byte.
            const char16_t replacement = 0xFFFD;
            memcpy(outPtr, &replacement, 2);
            outPtr += 2;
            outLeft -= 2;
            ++in;
            --inLeft;
            ++bad;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            break;  // E2BIG cannot happen with the size above
        }
    }
    const qsizetype written = (static_cast<qsizetype>(n) * 2 - static_cast<qsizetype>(outLeft)) / 2;
    result.truncate(written);
    if (out) *out = result;
    return bad;
}

// Encodes; returns the number of characters that had no GBK form.
qsizetype encodeInto(QStringView text, QByteArray* out) {
    const qsizetype n = text.size();
    QByteArray result;
    result.resize(n * 2);  // at most two bytes per UTF-16 unit
    if (n == 0) {
        if (out) *out = result;
        return 0;
    }
    Converter& conv = encoder();
    iconv_t cd = conv.handle();
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.utf16()));
    size_t inLeft = static_cast<size_t>(n) * 2;
    char* outPtr = result.data();
    size_t outLeft = static_cast<size_t>(result.size());
    qsizetype bad = 0;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
        if (errno == EILSEQ || errno == EINVAL) {
            // A character without a GBK form (a surrogate pair counts as one character).
            const auto* unit = reinterpret_cast<const char16_t*>(in);
            const bool pair =
                inLeft >= 4 && QChar::isHighSurrogate(unit[0]) && QChar::isLowSurrogate(unit[1]);
            const size_t skip = pair ? 4 : 2;
            *outPtr++ = '?';
            --outLeft;
            in += skip;
            inLeft -= skip;
            ++bad;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            break;
        }
    }
    result.truncate(result.size() - static_cast<qsizetype>(outLeft));
    if (out) *out = result;
    return bad;
}

}  // namespace

QString decode(QByteArrayView bytes) {
    // Many cells and lines are plain ASCII, which GBK leaves as it is.
    if (isAscii(bytes.data(), bytes.data() + bytes.size())) return QString::fromLatin1(bytes);
    QString s;
    decodeInto(bytes, &s);
    return s;
}

QByteArray encode(QStringView text) {
    QByteArray b;
    encodeInto(text, &b);
    return b;
}

bool canEncode(QStringView text) {
    return encodeInto(text, nullptr) == 0;
}

namespace {

// Which two-byte codes GBK has, asked of the converter once: a table lookup per character is many
// times faster than the converter when whole files are checked.
class PairTable {
  public:
    PairTable() {
        for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
            for (int trail = kFirstTrail; trail <= 0xFF; ++trail) {
                const char pair[2] = {char(lead), char(trail)};
                m_valid[index(uchar(lead), uchar(trail))] =
                    decodeInto(QByteArrayView(pair, 2), nullptr) == 0;
            }
        }
    }
    bool valid(uchar lead, uchar trail) const {
        return trail >= kFirstTrail && m_valid[index(lead, trail)];
    }

  private:
    static constexpr int kFirstLead = 0x81;
    static constexpr int kLastLead = 0xFE;
    static constexpr int kFirstTrail = 0x40;
    static size_t index(uchar lead, uchar trail) {
        return size_t(lead - kFirstLead) * (0x100 - kFirstTrail) + (trail - kFirstTrail);
    }
    bool m_valid[(kLastLead - kFirstLead + 1) * (0x100 - kFirstTrail)];
};

}  // namespace

bool isValid(QByteArrayView bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    if (isAscii(p, end)) return true;
    static const PairTable table;
    while (p < end) {
        const uchar c = uchar(*p);
        if (c < 0x80 || c == 0x80) {  // ASCII, or the euro sign of code page 936
            ++p;
        } else if (c == 0xFF || end - p < 2 || !table.valid(c, uchar(p[1]))) {
            return false;
        } else {
            p += 2;
        }
    }
    return true;
}

}  // namespace gbk
