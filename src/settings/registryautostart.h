#pragma once
// Start at login on Windows: a value in the user's own Run key,
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, which needs no administrator
// rights. The value is named after the program's file name without its extension and holds the
// program's full path in double quotes, so that a path with blanks starts the program and not a
// part of the path. QtCore only; built on Windows only.

#include "settings/autostart.h"

class RegistryAutostart : public Autostart {
  public:
    // The user's Run key, in QSettings' notation.
    static const QString kRunKey;

    // programPath: the absolute path of the executable. runKey: where the value goes (tests pass
    // a key of their own).
    explicit RegistryAutostart(const QString& programPath, QString runKey = kRunKey);

    bool isEnabled() const override;
    bool setEnabled(bool enabled, QString* error) override;

    const QString& valueName() const { return m_name; }
    const QString& valueData() const { return m_data; }

  private:
    QString m_key;
    QString m_name;
    QString m_data;
};
