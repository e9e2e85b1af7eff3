#pragma once
// Where a reminder pop-up stands on the primary screen's available area (the screen less its
// panels, in desktop coordinates, so a primary screen right of or below another one counts).
// QtCore only.
//
// The slot's group picks the column: group 1 touches the area's right edge, group 2 stands one
// window width to its left, and so on. The position picks the row: position 1 sits on the area's
// bottom edge, each further position one window height higher. A place beyond the area's left or
// top edge (a narrow screen, or a hand-edited slot name) is moved back onto that edge, so every
// pop-up stays on the screen.

#include <QPoint>
#include <QSize>

class ScreenMetrics;

// The window's top-left corner (its frame's, in pixels) for the outer size in pixels.
QPoint popupTopLeft(const ScreenMetrics& screen, QSize outerPixels, int group, int position);
