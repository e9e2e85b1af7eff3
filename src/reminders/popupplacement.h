#pragma once
// Where a reminder pop-up stands: its right edge on the screen's right edge, position 1 directly
// on a bottom taskbar, each further position one window height higher. QtCore only.
//
// The taskbar height in twips is the screen height less the work area's bottom edge (in twips),
// rounded halves to even and held in 16 bits; with the taskbar elsewhere it is 0 and position 1
// touches the bottom of the screen. A position so high that the window would leave the top of the
// screen (only a hand-edited slot name gives one) is kept at the top edge.

#include <QPoint>
#include <QSize>

class ScreenMetrics;

// The window's top-left corner (its frame's, in pixels) for the outer size in pixels.
QPoint popupTopLeft(const ScreenMetrics& screen, QSize outerPixels, int position);
