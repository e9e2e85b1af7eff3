#pragma once
// Opening a web address in the user's browser. DesktopUrlOpener does it through the desktop;
// RecordingUrlOpener records the addresses for tests.

#include <QUrl>

class UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    // Opens the address; false when no browser could be started.
    virtual bool open(const QUrl& url) = 0;
};
