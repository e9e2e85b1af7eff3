#pragma once
// Sets (or unsets) an environment variable for the lifetime of the guard and restores the old
// state afterwards, also when a test fails half-way.

#include <QByteArray>
#include <QtGlobal>

class EnvironmentGuard {
  public:
    EnvironmentGuard(const char* name, const QByteArray& value) : m_name(name) {
        save();
        qputenv(m_name, value);
    }
    explicit EnvironmentGuard(const char* name) : m_name(name) {
        save();
        qunsetenv(m_name);
    }
    ~EnvironmentGuard() {
        if (m_wasSet) {
            qputenv(m_name, m_old);
        } else {
            qunsetenv(m_name);
        }
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

  private:
    void save() {
        m_wasSet = qEnvironmentVariableIsSet(m_name);
        m_old = qgetenv(m_name);
    }

    const char* m_name;
    bool m_wasSet = false;
    QByteArray m_old;
};
