#include "platform/lenientnumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

std::optional<double> numberAtStart(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;

    std::string number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') number += '-';
        ++i;
    }
    bool anyDigit = false;
    auto takeDigits = [&] {
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            number += static_cast<char>(text[i].unicode());
            anyDigit = true;
            ++i;
        }
    };
    takeDigits();
    if (i < n && text[i] == u'.') {
        number += '.';
        ++i;
        takeDigits();
    }
    if (!anyDigit) return std::nullopt;

    double value = 0.0;
    const char* first = number.data();
    const char* last = first + number.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // Either too large (an absurdly long digit string) or too small to be told from 0.
        const bool tiny = number.find_first_not_of("-0.") == std::string::npos ||
                          number.find('.') < number.find_first_of("123456789");
        if (tiny) return 0.0;
        return number.front() == '-' ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    }
    (void)ptr;
    return value;
}

double leadingNumber(QStringView text) {
    return numberAtStart(text).value_or(0.0);
}

qint64 roundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    // Beyond 2^53 every double is already a whole number; clamp what does not fit in 64 bits.
    constexpr double kLimit = 9.2e18;
    if (value >= kLimit) return std::numeric_limits<qint64>::max();
    if (value <= -kLimit) return std::numeric_limits<qint64>::min();
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    double rounded = floorValue;
    if (diff > 0.5) {
        rounded = floorValue + 1.0;
    } else if (diff == 0.5) {
        rounded = std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
    }
    return static_cast<qint64>(rounded);
}

qint64 leadingInteger(QStringView text) {
    return roundHalfEven(leadingNumber(text));
}
