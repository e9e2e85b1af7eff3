#include "reminders/popupplacement.h"

#include "platform/screenmetrics.h"

QPoint popupTopLeft(const ScreenMetrics& screen, QSize outerPixels, int group, int position) {
    const QRect area = screen.availableGeometry();
    // 64-bit sums: a hand-edited slot may name group or position 999999.
    const qint64 left = qint64(area.x()) + area.width() - qint64(outerPixels.width()) * group;
    const qint64 top = qint64(area.y()) + area.height() - qint64(outerPixels.height()) * position;
    return {static_cast<int>(qMax<qint64>(left, area.x())),
            static_cast<int>(qMax<qint64>(top, area.y()))};
}
