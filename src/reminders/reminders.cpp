#include "reminders/reminders.h"

#include <QAction>

#include "mainwindow/mainwindow.h"
#include "reminders/reminderengine.h"
#include "reminders/reminderpopupfactory.h"

Reminders::Reminders(MainWindow& window, const ScreenMetrics& screen)
    : QObject(&window),
      m_popups(std::make_unique<ReminderPopupFactory>(window.paths().profilePath(), screen,
                                                      window.messages())),
      m_engine(std::make_unique<ReminderEngine>(window.grid(), window.clock(), screen,
                                                window.messages(), *m_popups,
                                                window.paths().profilePath())) {
    setObjectName(QStringLiteral("reminders"));
    if (QAction* init = window.action(QStringLiteral("tscsh")))
        connect(init, &QAction::triggered, this, [this] { m_engine->tscsh(); });
    connect(&window, &MainWindow::scanTick, this, [this] { m_engine->Timer1_Timer(); });
    window.addExitStep([this] { m_popups->releaseOpenSlots(); });
}

Reminders::~Reminders() = default;

Reminders* installReminders(MainWindow& window, const ScreenMetrics& screen) {
    return new Reminders(window, screen);
}
