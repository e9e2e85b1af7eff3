#include "platform/alertsound.h"

#include <windows.h>

void SystemAlertSound::play() {
    MessageBeep(MB_ICONEXCLAMATION);
}
