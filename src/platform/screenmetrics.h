#pragma once
// The screen as the reminder pop-ups and the slot table see it: size in twips, twips per pixel and
// the bottom edge of the work area (the screen less a bottom taskbar, in pixels). QtCore only; the
// Qt implementation is QtScreenMetrics, tests use FixedScreenMetrics.

class ScreenMetrics {
  public:
    virtual ~ScreenMetrics() = default;
    virtual int twipsPerPixelX() const { return 15; }
    virtual int twipsPerPixelY() const { return 15; }
    virtual int screenWidthTwips() const = 0;
    virtual int screenHeightTwips() const = 0;
    virtual int workAreaBottomPixels() const = 0;
};

class FixedScreenMetrics : public ScreenMetrics {
  public:
    FixedScreenMetrics(int widthPixels, int heightPixels, int workAreaBottomPixels)
        : m_width(widthPixels), m_height(heightPixels), m_workBottom(workAreaBottomPixels) {}
    int screenWidthTwips() const override { return m_width * twipsPerPixelX(); }
    int screenHeightTwips() const override { return m_height * twipsPerPixelY(); }
    int workAreaBottomPixels() const override { return m_workBottom; }

  private:
    int m_width;
    int m_height;
    int m_workBottom;
};
