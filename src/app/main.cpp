// Builds the program's objects, wires them and runs the event loop.

#include <QApplication>
#include <memory>

#include "editor/editorcommand.h"
#include "mainwindow/backuprestore.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/recordmaintenance.h"
#include "mainwindow/reminderswitch.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/trayicon.h"
#include "planning/planningcommand.h"
#include "platform/alertsound.h"
#include "platform/apppaths.h"
#include "platform/chinesetranslation.h"
#include "platform/clock.h"
#include "platform/qtmessageservice.h"
#include "platform/qtscreenmetrics.h"
#include "platform/singleinstance.h"
#include "reminders/reminders.h"
#include "settings/autostart.h"
#include "settings/desktopurlopener.h"
#include "settings/settingscommands.h"

int main(int argc, char* argv[]) {
    // Under Wayland a program can neither place its windows nor keep them on top; the reminder
    // pop-ups need both, so run through XWayland when it is there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    installChineseTranslation(app, QCoreApplication::applicationDirPath());
    QApplication::setApplicationName(QStringLiteral("mirosta"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(programIcon());

    const AppPaths paths = AppPaths::forApplication();
    SingleInstance instance(paths.dataDir());
    if (instance.anotherIsRunning()) return 0;

    SystemClock clock;
    QtMessageService messages;
    const std::unique_ptr<Autostart> autostart = Autostart::forApplication();
    DesktopUrlOpener urlOpener;
    QtScreenMetrics screen;
    SystemAlertSound sound;
    MainWindow window(paths, clock, messages);
    messages.setParent(&window);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                     &MainWindow::bringToFront);

    auto* reminderSwitch = new ReminderSwitch(window);
    new RecordMaintenance(window, *reminderSwitch);
    new BackupRestore(window);
    installEditorCommand(window);
    installSearchCommand(window);
    installPlanningCommand(window);
    installSettings(window, *autostart, urlOpener);

    Reminders* reminders = installReminders(window, screen, sound);
    reminders->setAutostartQuery([&autostart] { return autostart->isEnabled(); });
    window.startUp();
    // Without the guard the program still runs and reminds; the user learns why once.
    if (!instance.problem().isEmpty()) messages.notify(QStringLiteral("提示"), instance.problem());
    // The tray icon asks the desktop for its tray (a round trip over D-Bus), so it comes once the
    // window is on the screen.
    auto* tray = new TrayIcon(window);
    reminders->setTrayMessenger([tray](const QString& title, const QString& text) {
        if (tray->isShown()) tray->icon()->showMessage(title, text);
    });
    return app.exec();
}
