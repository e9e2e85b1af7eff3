#include "planning/planningcommand.h"

#include <QAction>
#include <QPointer>
#include <memory>

#include "mainwindow/mainwindow.h"
#include "planning/planningwindow.h"

void installPlanningCommand(MainWindow& window) {
    QAction* action = window.action(QStringLiteral("syjh"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    auto planning = std::make_shared<QPointer<PlanningWindow>>();
    QObject::connect(action, &QAction::triggered, &window, [&window, planning] {
        if (!*planning) {
            *planning =
                new PlanningWindow(window.paths(), window.clock(), window.messages(), &window);
            QObject::connect(*planning, &PlanningWindow::dueTimesWritten, &window,
                             &MainWindow::reloadRecords);
        } else if ((*planning)->isVisible()) {
            (*planning)->refresh();  // showing it again reads nothing
        }
        (*planning)->show();
        (*planning)->raise();
        (*planning)->activateWindow();
    });
    const auto reread = [planning] {
        if (*planning && (*planning)->isVisible()) (*planning)->readRecords();
    };
    QObject::connect(&window, &MainWindow::recordAdded, &window, reread);
    QObject::connect(&window, &MainWindow::recordsChanged, &window, reread);
}
