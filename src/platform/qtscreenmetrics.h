#pragma once
// ScreenMetrics of the primary screen, asked anew on every call (so a changed resolution counts):
// the screen's logical size at 15 twips per logical pixel, and the bottom edge of its available
// area (the screen less panels and taskbars), exclusive, as the work area's bottom.

#include "platform/screenmetrics.h"

class QtScreenMetrics : public ScreenMetrics {
  public:
    int screenWidthTwips() const override;
    int screenHeightTwips() const override;
    int workAreaBottomPixels() const override;
};
