#include "reminders/popupplacement.h"

#include <algorithm>

#include "platform/lenientnumber.h"
#include "platform/screenmetrics.h"

QPoint popupTopLeft(const ScreenMetrics& screen, QSize outerPixels, int position) {
    const int tppX = qMax(screen.twipsPerPixelX(), 1);
    const int tppY = qMax(screen.twipsPerPixelY(), 1);
    const qint64 screenWidth = screen.screenWidthTwips();
    const qint64 screenHeight = screen.screenHeightTwips();
    const qint64 taskbar = std::clamp<qint64>(
        roundHalfEven(double(screenHeight) - double(tppY) * screen.workAreaBottomPixels()), -32768,
        32767);
    const qint64 left = screenWidth - qint64(outerPixels.width()) * tppX;
    const qint64 top = screenHeight - qint64(outerPixels.height()) * tppY * position - taskbar;
    return {static_cast<int>(left / tppX), static_cast<int>(qMax<qint64>(top, 0) / tppY)};
}
