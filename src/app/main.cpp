// Builds the program's objects, wires them and runs the event loop.

#include <QApplication>

#include "mainwindow/mainwindow.h"
#include "platform/apppaths.h"
#include "platform/clock.h"
#include "platform/qtmessageservice.h"

int main(int argc, char* argv[]) {
    // Under Wayland a program can neither place its windows nor keep them on top; the reminder
    // pop-ups need both, so run through XWayland when it is there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mirosta"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setQuitOnLastWindowClosed(false);

    SystemClock clock;
    QtMessageService messages;
    MainWindow window(AppPaths::forApplication(), clock, messages);
    messages.setParent(&window);
    window.startUp();
    return app.exec();
}
