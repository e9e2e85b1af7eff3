// Numbers typed into text fields: leadingNumber, roundHalfEven and leadingInteger over arbitrary
// text. The bytes are read twice, as UTF-16 (any character at all) and as Latin-1 (so that short
// inputs are mostly digits, signs, points and blanks), and the first eight bytes as a double.

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

#include "fuzzsupport.h"
#include "platform/lenientnumber.h"

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The whole number a text in a small, plain form stands for, computed with integers only: blanks,
// an optional sign, at most 15 digits, and an optional fraction of at most 6 digits after at most
// 9 whole digits (small enough that a double tells every such fraction from one half). Nothing
// when the text is not in that form.
std::optional<qint64> referenceInteger(QStringView text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    qint64 whole = 0;
    int wholeDigits = 0;
    for (; i < n && isDigit(text[i]); ++i, ++wholeDigits) {
        if (wholeDigits == 15) return std::nullopt;
        whole = whole * 10 + (text[i].unicode() - u'0');
    }
    qint64 fraction = 0;
    qint64 scale = 1;
    if (i < n && text[i] == u'.') {
        for (++i; i < n && isDigit(text[i]); ++i) {
            if (scale == 1000000 || wholeDigits > 9) return std::nullopt;
            fraction = fraction * 10 + (text[i].unicode() - u'0');
            scale *= 10;
        }
    }
    // Half to even, on the magnitude: the rule is symmetric about zero.
    qint64 rounded = whole;
    if (2 * fraction > scale || (2 * fraction == scale && whole % 2 == 1)) ++rounded;
    return negative ? -rounded : rounded;
}

void checkText(QStringView text) {
    const double value = leadingNumber(text);
    fuzzCheck(!std::isnan(value), "leadingNumber never yields NaN");
    const qint64 integer = leadingInteger(text);
    fuzzCheck(integer == roundHalfEven(value), "leadingInteger is leadingNumber rounded");
    if (const std::optional<qint64> expected = referenceInteger(text))
        fuzzCheck(integer == *expected, "leadingInteger of a small plain number");

    // The number ends where the plain form ends: whatever follows a character that cannot
    // continue a number does not count.
    if (!text.isEmpty()) {
        const QChar last = text.back();
        if (last == u'x' || last == QChar(0x4E00)) {
            const QString longer = text.toString() + QStringLiteral("9.5");
            fuzzCheck(leadingNumber(longer) == value, "text after the number does not count");
        }
    }
}

void checkRounding(double value) {
    const qint64 rounded = roundHalfEven(value);
    if (std::isnan(value)) {
        fuzzCheck(rounded == 0, "NaN rounds to 0");
        return;
    }
    if (std::fabs(value) < 4503599627370496.0) {  // 2^52: fractions still exist
        const double diff = std::fabs(double(rounded) - value);
        fuzzCheck(diff <= 0.5, "rounding moves by at most one half");
        if (diff == 0.5) fuzzCheck(rounded % 2 == 0, "a half goes to the even neighbour");
    } else if (std::fabs(value) < 9.2e18) {
        fuzzCheck(double(rounded) == value, "a large double is already whole");
    } else {
        fuzzCheck(rounded == (value > 0 ? std::numeric_limits<qint64>::max()
                                        : std::numeric_limits<qint64>::min()),
                  "values beyond 64 bits are clamped");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto units = static_cast<qsizetype>(size / 2);
    QString utf16(units, Qt::Uninitialized);
    if (units > 0) std::memcpy(utf16.data(), data, size_t(units) * 2);
    checkText(utf16);
    checkText(QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size)));

    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        checkRounding(value);
    }
    return 0;
}
