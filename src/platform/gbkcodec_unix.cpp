#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "platform/gbkcodec_p.h"

namespace gbk::detail {
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

}  // namespace

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

}  // namespace gbk::detail
