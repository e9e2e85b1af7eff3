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

QRect QtScreenMetrics::availableGeometry() const {
    return screenGeometry(true);
}
