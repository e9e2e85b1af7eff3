#include "settings/scaninterval.h"

#include "platform/lenientnumber.h"

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

bool beginsWithNumber(QStringView text) {
    // The same prefix that leadingNumber() reads.
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    if (i < text.size() && isDigit(text[i])) return true;
    return i + 1 < text.size() && text[i] == u'.' && isDigit(text[i + 1]);
}

std::optional<int> readScanInterval(QStringView text) {
    if (!beginsWithNumber(text)) return std::nullopt;
    const qint64 value = leadingInteger(text);
    if (value < 0 || value > kMaxScanIntervalMs) return std::nullopt;
    return static_cast<int>(value);
}
