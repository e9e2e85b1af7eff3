#include "platform/alertsound.h"

#include <QApplication>

void SystemAlertSound::play() {
    QApplication::beep();
}
