#pragma once
// ScreenMetrics of the primary screen, asked anew on every call (so a changed resolution or a
// moved panel counts): the screen's logical size at 15 twips per logical pixel, and its available
// geometry as Qt reports it, in the coordinates of the whole desktop.

#include "platform/screenmetrics.h"

class QtScreenMetrics : public ScreenMetrics {
  public:
    int screenWidthTwips() const override;
    int screenHeightTwips() const override;
    QRect availableGeometry() const override;
};
