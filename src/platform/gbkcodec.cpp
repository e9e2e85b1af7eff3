#include "platform/gbkcodec.h"

#include <cstring>

#include "platform/gbkcodec_p.h"

namespace gbk {

using detail::decodeInto;
using detail::encodeInto;

namespace {

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
