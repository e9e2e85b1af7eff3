#include "settings/autostart.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include "settings/registryautostart.h"
#else
#include "settings/desktopautostart.h"
#endif

std::unique_ptr<Autostart> Autostart::forApplication() {
#ifdef Q_OS_WIN
    return std::make_unique<RegistryAutostart>(QCoreApplication::applicationFilePath());
#else
    return std::make_unique<DesktopAutostart>(QCoreApplication::applicationFilePath());
#endif
}
