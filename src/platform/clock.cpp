#include "platform/clock.h"

#ifdef Q_OS_LINUX
#include <time.h>
#endif

qint64 SystemClock::msecsSinceEpoch() const {
#ifdef Q_OS_LINUX
    timespec ts{};
    if (clock_gettime(CLOCK_REALTIME_COARSE, &ts) == 0)
        return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
#endif
    return QDateTime::currentMSecsSinceEpoch();
}

QString Clock::secondText() const {
    return now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

const QString& MinuteText::read() {
    const qint64 msecs = m_clock.msecsSinceEpoch();
    if (msecs == Clock::kNoTime) {
        m_valid = false;
        m_text.clear();
        return m_text;
    }
    const qint64 minute = msecs / 60000 - (msecs % 60000 < 0 ? 1 : 0);
    if (!m_valid || minute != m_minute) {
        m_valid = true;
        m_minute = minute;
        m_text = QDateTime::fromMSecsSinceEpoch(msecs).toString(m_format);
    }
    return m_text;
}
