#pragma once
// Start at login on freedesktop systems: the desktop entry
// $XDG_CONFIG_HOME/autostart/<program file name>.desktop ($XDG_CONFIG_HOME defaults to ~/.config),
// which the session starts at every login. The entry's existence is the setting. QtCore only.

#include <QByteArray>

#include "settings/autostart.h"

class DesktopAutostart : public Autostart {
  public:
    // programPath: the absolute path of the executable that the entry starts.
    explicit DesktopAutostart(QString programPath);

    bool isEnabled() const override;
    bool setEnabled(bool enabled, QString* error) override;

    // Where the entry lives; $XDG_CONFIG_HOME is read on every call.
    QString entryPath() const;
    // The entry's content, UTF-8.
    QByteArray entryContent() const;

    // The path as one argument of an Exec key: quoted, with ", `, $ and \ escaped inside the
    // quotes, % doubled, then escaped once more as a desktop string value (so one backslash in
    // the path becomes four in the file).
    static QString execArgument(const QString& path);

  private:
    QString m_programPath;
};
