#pragma once
// Start at login on Windows: the value in the machine-wide Run key, named after the program's file
// name without its extension and holding the program's directory, "\", that name and ".exe".
// Writing under HKEY_LOCAL_MACHINE needs administrator rights; without them the write fails and
// is reported. QtCore only; built on Windows only.

#include <QtGlobal>

#ifdef Q_OS_WIN

#include "settings/autostart.h"

class RegistryAutostart : public Autostart {
  public:
    // programPath: the absolute path of the executable.
    explicit RegistryAutostart(const QString& programPath);

    bool isEnabled() const override;
    bool setEnabled(bool enabled, QString* error) override;

    const QString& valueName() const { return m_name; }
    const QString& valueData() const { return m_data; }

  private:
    QString m_name;
    QString m_data;
};

#endif
