#pragma once
// Starting the program when the user logs in. On Linux and other freedesktop systems this is an
// autostart desktop entry (DesktopAutostart); on Windows a value in the user's Run key of the
// registry (RegistryAutostart). Tests use FakeAutostart. QtCore only.

#include <QString>
#include <memory>

class Autostart {
  public:
    virtual ~Autostart() = default;

    // Whether the program is registered to start at login.
    virtual bool isEnabled() const = 0;
    // Registers the program (true) or removes the registration (false). On failure returns false
    // and *error holds the reason in Chinese; the registration is then as it was.
    virtual bool setEnabled(bool enabled, QString* error) = 0;

    // The platform's autostart for the running program (QCoreApplication::applicationFilePath()).
    static std::unique_ptr<Autostart> forApplication();
};
