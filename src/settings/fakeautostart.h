#pragma once
// An autostart that keeps its state in memory and fails its writes when told to; for tests.

#include "settings/autostart.h"

class FakeAutostart : public Autostart {
  public:
    bool isEnabled() const override { return m_enabled; }
    bool setEnabled(bool enabled, QString* error) override {
        ++m_writes;
        if (m_failWrites) {
            if (error) *error = QStringLiteral("拒绝访问。");
            return false;
        }
        m_enabled = enabled;
        return true;
    }

    void setFailWrites(bool fail) { m_failWrites = fail; }
    void setState(bool enabled) { m_enabled = enabled; }
    int writes() const { return m_writes; }

  private:
    bool m_enabled = false;
    bool m_failWrites = false;
    int m_writes = 0;
};
