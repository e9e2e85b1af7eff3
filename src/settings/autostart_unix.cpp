#include <QCoreApplication>

#include "settings/autostart.h"
#include "settings/desktopautostart.h"

std::unique_ptr<Autostart> Autostart::forApplication() {
    return std::make_unique<DesktopAutostart>(QCoreApplication::applicationFilePath());
}
