#include "reminders/reminders.h"

#include <QAction>
#include <QGuiApplication>
#include <QTimer>

#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "reminders/reminderengine.h"
#include "reminders/reminderpopupfactory.h"

namespace {

// %1: the number of rows still to be announced.
const QString kExitQuestion =
    QStringLiteral("今日还有 %1 条记录尚未提醒。程序退出后不会提醒这些记录。\n确定要退出吗？");

}  // namespace

Reminders::Reminders(MainWindow& window, const ScreenMetrics& screen)
    : QObject(&window),
      m_window(window),
      m_popups(std::make_unique<ReminderPopupFactory>(window.paths().profilePath(), screen,
                                                      window.messages())),
      m_engine(std::make_unique<ReminderEngine>(
          window.grid(), window.clock(), screen, window.messages(), *m_popups,
          window.paths().profilePath(), window.paths().announcedPath())) {
    setObjectName(QStringLiteral("reminders"));
    m_engine->freeStaleSlots();
    m_listDay = clockDate();  // the start-up's load follows

    if (QAction* init = window.action(QStringLiteral("tscsh")))
        connect(init, &QAction::triggered, this, [this] { m_engine->tscsh(); });
    connect(&window, &MainWindow::scanTick, this, [this] { m_engine->Timer1_Timer(); });
    connect(&window, &MainWindow::todayListLoaded, this, &Reminders::listLoaded);
    connect(&window, &MainWindow::recordAdded, this, &Reminders::recordAdded);
    connect(&window, &MainWindow::recordsChanged, this, &Reminders::recordsChanged);
    window.addExitCheck([this] { return confirmExit(); });
    window.addExitStep([this] { m_popups->releaseOpenSlots(); });

    m_dayTimer = new QTimer(this);
    m_dayTimer->setObjectName(QStringLiteral("dayTimer"));
    connect(m_dayTimer, &QTimer::timeout, this, &Reminders::checkDay);
    m_dayTimer->start(kDayCheckIntervalMs);
}

Reminders::~Reminders() = default;

QDate Reminders::clockDate() const {
    const qint64 msecs = m_window.clock().msecsSinceEpoch();
    return msecs == Clock::kNoTime ? QDate() : QDateTime::fromMSecsSinceEpoch(msecs).date();
}

void Reminders::listLoaded() {
    m_engine->restoreMarks(m_listDay);
    // A new day with nothing due stops the scan, as a start-up with nothing due leaves it.
    if (m_newDay && m_window.grid().rows() == 2 && m_window.scanTimer()->isActive()) {
        m_window.setScanInterval(0);
        m_window.action(QStringLiteral("bg"))->setEnabled(false);
        m_window.action(QStringLiteral("kq"))->setEnabled(true);
    }
    m_newDay = false;
    // Right after the scan has been started (or kept running) for the list.
    QTimer::singleShot(0, this, [this] {
        if (m_window.scanTimer()->isActive()) m_engine->Timer1_Timer();
    });
}

void Reminders::recordAdded(const QStringList& fields) {
    if (m_engine->addRecord(fields)) m_window.startScanIfDue();
}

void Reminders::recordsChanged(const QList<QStringList>& before, const QList<QStringList>& after) {
    for (qsizetype i = 0; i < before.size() && i < after.size(); ++i)
        m_engine->carryAnnouncement(before.at(i), after.at(i));
    m_window.reloadRecords();
}

void Reminders::checkDay() {
    const QDate today = clockDate();
    if (!today.isValid() || today == m_listDay || m_newDay) return;
    // The old day's rows whose minute passed unseen (a machine asleep over midnight) are
    // announced before they leave the list.
    if (m_window.scanTimer()->isActive()) m_engine->Timer1_Timer();
    m_newDay = true;
    m_listDay = today;
    m_window.setScanStoppedByUser(false);
    m_window.reloadRecords();
}

bool Reminders::confirmExit() {
    // The session is ending: nobody would see the question.
    if (qApp->isSavingSession()) return true;
    const int pending = m_engine->pendingCount();
    return pending == 0 ||
           m_window.messages().ask(QStringLiteral("提示"), kExitQuestion.arg(pending));
}

Reminders* installReminders(MainWindow& window, const ScreenMetrics& screen) {
    return new Reminders(window, screen);
}
