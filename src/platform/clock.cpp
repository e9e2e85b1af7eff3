#include "platform/clock.h"

QString Clock::todayText() const {
    return now().date().toString(QStringLiteral("yyyy-MM-dd"));
}

QString Clock::minuteText() const {
    return now().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

QString Clock::secondText() const {
    return now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}
