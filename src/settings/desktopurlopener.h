#pragma once
// Opens web addresses with the desktop's default browser (QDesktopServices).

#include "settings/urlopener.h"

class DesktopUrlOpener : public UrlOpener {
  public:
    bool open(const QUrl& url) override;
};
