#include "settings/scaninterval.h"

#include "platform/lenientnumber.h"

std::optional<int> readScanInterval(QStringView text) {
    const std::optional<double> number = numberAtStart(text);
    if (!number) return std::nullopt;
    const qint64 value = roundHalfEven(*number);
    if (value < 0 || value > kMaxScanIntervalMs) return std::nullopt;
    return static_cast<int>(value);
}
