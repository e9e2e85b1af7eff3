#include <QCoreApplication>

#include "settings/autostart.h"
#include "settings/registryautostart.h"

std::unique_ptr<Autostart> Autostart::forApplication() {
    return std::make_unique<RegistryAutostart>(QCoreApplication::applicationFilePath());
}
