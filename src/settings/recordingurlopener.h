#pragma once
// A URL opener that records the addresses it is asked to open and answers as told; for tests.

#include <QList>

#include "settings/urlopener.h"

class RecordingUrlOpener : public UrlOpener {
  public:
    bool open(const QUrl& url) override {
        m_opened.append(url);
        return m_succeed;
    }

    void setSucceed(bool succeed) { m_succeed = succeed; }
    const QList<QUrl>& opened() const { return m_opened; }

  private:
    QList<QUrl> m_opened;
    bool m_succeed = true;
};
