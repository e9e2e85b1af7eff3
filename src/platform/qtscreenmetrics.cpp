#include "platform/qtscreenmetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QRect screenGeometry(bool available) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    return available ? screen->availableGeometry() : screen->geometry();
}

}  // namespace

int QtScreenMetrics::screenWidthTwips() const {
    return screenGeometry(false).width() * twipsPerPixelX();
}

int QtScreenMetrics::screenHeightTwips() const {
    return screenGeometry(false).height() * twipsPerPixelY();
}

int QtScreenMetrics::workAreaBottomPixels() const {
    // QRect::bottom() is the last row inside; the work area's bottom edge is the row below it.
    const QRect screen = screenGeometry(false);
    const QRect available = screenGeometry(true);
    return available.y() + available.height() - screen.y();
}
