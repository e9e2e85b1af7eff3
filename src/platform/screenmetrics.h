#pragma once
// The screen as the reminder pop-ups and the slot table see it: size in twips, twips per pixel and
// the available geometry (the primary screen less panels and taskbars, in pixels, in the desktop's
// coordinates, so it need not start at (0, 0)). QtCore only; the Qt implementation is
// QtScreenMetrics, tests use FixedScreenMetrics.

#include <QRect>

class ScreenMetrics {
  public:
    virtual ~ScreenMetrics() = default;
    virtual int twipsPerPixelX() const { return 15; }
    virtual int twipsPerPixelY() const { return 15; }
    virtual int screenWidthTwips() const = 0;
    virtual int screenHeightTwips() const = 0;
    virtual QRect availableGeometry() const = 0;
};

class FixedScreenMetrics : public ScreenMetrics {
  public:
    // A screen at (0, 0) whose available area ends at the given row (a bottom taskbar above it).
    FixedScreenMetrics(int widthPixels, int heightPixels, int workAreaBottomPixels)
        : FixedScreenMetrics(QRect(0, 0, widthPixels, heightPixels),
                             QRect(0, 0, widthPixels, workAreaBottomPixels)) {}
    FixedScreenMetrics(QRect screen, QRect available) : m_screen(screen), m_available(available) {}
    int screenWidthTwips() const override { return m_screen.width() * twipsPerPixelX(); }
    int screenHeightTwips() const override { return m_screen.height() * twipsPerPixelY(); }
    QRect availableGeometry() const override { return m_available; }

  private:
    QRect m_screen;
    QRect m_available;
};
