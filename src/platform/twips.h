#pragma once
// Windows and controls are designed in twips, 1440 to the inch: 15 to a logical pixel (Qt's
// logical pixels take care of high-DPI screens). QtCore only.

#include <QRect>

namespace twips {

constexpr int kPerPixel = 15;

// The nearest whole pixel.
constexpr int toPixels(int twips) {
    return (twips >= 0 ? twips + kPerPixel / 2 : twips - kPerPixel / 2) / kPerPixel;
}

constexpr QRect rect(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

}  // namespace twips
