#include "reminders/reminders.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "records/recordfileload.h"
#include "records/recordgridview.h"
#include "records/specimenrecord.h"
#include "reminders/duebetween.h"
#include "reminders/dueminute.h"
#include "reminders/reminderengine.h"
#include "reminders/reminderpopupfactory.h"
#include "reminders/reminderstatus.h"
#include "settings/programsettings.h"

namespace {

// %1: the number of rows still to be announced.
const QString kExitPending = QStringLiteral(
    "今日列表中还有 %1 条记录尚未提醒。程序退出后不会按时提醒这些记录，7 天内再次启动本程序时会"
    "补发。");
// %1: how many batches, %2: the first one's due minute.
const QString kExitComing = QStringLiteral(
    "今后 7 天内还有 %1 批到期，最近一批 %2。本程序没有设置开机自启动，请在此之前再次运行本程序。");
const QString kExitQuestion = QStringLiteral("确定要退出吗？");
const QString kLoading = QStringLiteral("正在读取今日列表……");
const QString kAdvanceTitle = QStringLiteral("即将到期");
// %1: the due minute, %2: the batch.
const QString kAdvanceLine = QStringLiteral("%1 到期：%2");
// More rows than the message names. %1: how many in all.
const QString kAdvanceMore = QStringLiteral("…… 共 %1 批");
constexpr int kAdvanceLinesShown = 5;

}  // namespace

Reminders::Reminders(MainWindow& window, const ScreenMetrics& screen, AlertSound& sound)
    : QObject(&window),
      m_window(window),
      m_minuteText(window.clock(), QStringLiteral("yyyy-MM-dd hh:mm")),
      m_popups(std::make_unique<ReminderPopupFactory>(window.paths().profilePath(), screen,
                                                      window.messages(), sound)),
      m_engine(std::make_unique<ReminderEngine>(
          window.grid(), window.clock(), screen, window.messages(), *m_popups,
          window.paths().profilePath(), window.paths().announcedPath(),
          window.paths().dataFilePath())) {
    setObjectName(QStringLiteral("reminders"));
    m_engine->freeStaleSlots();
    m_listDay = clockDate();  // the start-up's load follows

    // The records of the days the program did not watch, read while today's list is.
    if (const auto span =
            m_engine->catchUpSpan(m_listDay.addDays(-ReminderEngine::kCatchUpDays), m_listDay)) {
        m_engine->holdLastScan(true);
        m_catchUp = new RecordFileLoad(
            recordcolumns::kMainGridColumns,
            [path = window.paths().dataFilePath(), span = *span](RecordGrid& grid,
                                                                 const LoadProgress&) {
                return loadDueBetween(grid, path, span.first, span.last);
            },
            this);
        connect(m_catchUp, &RecordFileLoad::finished, this, &Reminders::caughtUp);
    }

    if (QAction* init = window.action(QStringLiteral("tscsh")))
        connect(init, &QAction::triggered, this, [this] { m_engine->tscsh(); });
    // 全部关闭, in the 运行 menu and in the menu the tray icon shows.
    auto* closeAll = new QAction(QStringLiteral("全部关闭"), &window);
    closeAll->setObjectName(QStringLiteral("qbgb"));
    if (auto* run = window.findChild<QMenu*>(QStringLiteral("yx"))) {
        run->addSeparator();
        run->addAction(closeAll);
    }
    if (QMenu* menu = window.mainMenu()) {
        const QList<QAction*> items = menu->actions();
        const qsizetype end = items.indexOf(window.action(QStringLiteral("end")));
        menu->insertAction(end > 0 ? items.at(end - 1) : nullptr, closeAll);
    }
    connect(closeAll, &QAction::triggered, this, [this] {
        m_popups->closeAll();
        // The rows that waited for a place get one at once.
        if (m_window.scanTimer()->isActive()) tick();
    });

    m_status = new QLabel(&window);
    m_status->setObjectName(QStringLiteral("statusLine"));
    m_status->setAccessibleName(QStringLiteral("提醒状态"));
    m_status->setTextFormat(Qt::PlainText);
    window.statusBar()->addWidget(m_status, 1);
    readSettings();

    connect(&window, &MainWindow::scanTick, this, &Reminders::tick);
    connect(&window, &MainWindow::todayListLoaded, this, &Reminders::listLoaded);
    connect(&window, &MainWindow::recordAdded, this, &Reminders::recordAdded);
    connect(&window, &MainWindow::recordsChanged, this, &Reminders::recordsChanged);
    connect(&window, &MainWindow::scanStateChanged, this, &Reminders::updateStatusLine);
    connect(&window, &MainWindow::settingsChanged, this, &Reminders::readSettings);
    // Rows removed from the list (a double click, 删除过期数据, a reload) change the pop-ups'
    // numbers and the status line; both follow once the command is done.
    const QAbstractItemModel* model = window.gridView()->model();
    const auto rowsChanged = [this] {
        m_popups->renumber(m_window.grid());
        updateStatusLine();
    };
    connect(model, &QAbstractItemModel::rowsRemoved, this, rowsChanged, Qt::QueuedConnection);
    connect(model, &QAbstractItemModel::modelReset, this, rowsChanged, Qt::QueuedConnection);
    window.addExitCheck([this] { return confirmExit(); });
    window.addExitStep([this] {
        m_popups->releaseOpenSlots();
        m_engine->saveLastScan();
    });

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

void Reminders::readSettings() {
    const ProgramSettings settings(m_window.paths().settingsPath());
    m_popups->setSoundOn(settings.alertSound());
    m_advanceMinutes = settings.advanceMinutes();
    updateStatusLine();
}

void Reminders::tick() {
    m_engine->Timer1_Timer();
    announceAdvance();
    updateStatusLine();
}

void Reminders::scanOnce() {
    if (m_window.scanTimer()->isActive())
        tick();
    else
        m_engine->watch();
}

void Reminders::listLoaded() {
    m_listReady = true;
    m_engine->restoreMarks(m_listDay);
    // A new day with nothing due stops the scan, as a start-up with nothing due leaves it.
    if (m_newDay && m_window.grid().rows() == 2 && m_window.scanTimer()->isActive()) {
        m_window.setScanInterval(0);
        m_window.showScanSwitch(false);
    }
    m_newDay = false;
    // Right after the scan has been started (or kept running) for the list; at start-up once the
    // earlier days' records are in too, so that all rows late at start-up come in one tick.
    QTimer::singleShot(0, this, [this] {
        if (!m_catchUp) scanOnce();
    });
    updateStatusLine();
}

void Reminders::caughtUp() {
    RecordFileLoad* load = std::exchange(m_catchUp, nullptr);
    if (!load) return;
    m_engine->addEarlierRecords(load->grid());
    // A.bz not read: the last-scan minute stays where it was for this run, so that the next start
    // reads those days again rather than passing over records nobody has seen.
    m_engine->holdLastScan(load->report().status == FileStatus::Unreadable);
    load->deleteLater();
    if (!m_listReady) return;  // the list's load adds them
    m_engine->appendEarlierRows();
    m_window.startScanIfDue();
    scanOnce();
    updateStatusLine();
}

void Reminders::waitForStartUp() {
    m_window.waitForTodayList();
    if (m_catchUp) m_catchUp->wait();
}

void Reminders::recordAdded(const QStringList& fields) {
    // The start-up's list first, so that the record joins it rather than being replaced by it.
    m_window.waitForTodayList();
    if (m_engine->addRecord(fields)) m_window.startScanIfDue();
    updateStatusLine();
}

void Reminders::announceAdvance() {
    const QList<int> rows = m_engine->advanceNotices(m_advanceMinutes);
    if (rows.isEmpty() || !m_trayMessage) return;
    const RecordGrid& grid = m_window.grid();
    QStringList lines;
    for (int row : rows.mid(0, kAdvanceLinesShown))
        lines << kAdvanceLine.arg(grid.textMatrix(row, recordcolumns::kDueTime).trimmed(),
                                  batchSummaryOf(grid, row));
    if (rows.size() > kAdvanceLinesShown) lines << kAdvanceMore.arg(rows.size());
    m_trayMessage(kAdvanceTitle, lines.join(u'\n'));
}

QString Reminders::minuteNow() const {
    return m_minuteText.read();
}

void Reminders::updateStatusLine() {
    const QString now = minuteNow();
    m_statusMinute = now;
    if (m_window.todayListLoading() || m_catchUp) {
        m_status->setText(kLoading);
        m_status->setStyleSheet(QString());
        return;
    }
    ReminderStatus status = ReminderStatus::of(m_window.grid(), now, m_listDay, m_advanceMinutes);
    status.stopped = !m_window.scanTimer()->isActive();
    m_status->setText(status.text());
    m_status->setStyleSheet(status.alarming() ? QStringLiteral("color: red") : QString());
}

void Reminders::recordsChanged(const QList<QStringList>& before, const QList<QStringList>& after) {
    for (qsizetype i = 0; i < before.size() && i < after.size(); ++i)
        m_engine->carryAnnouncement(before.at(i), after.at(i));
    m_window.reloadRecords();
}

void Reminders::checkDay() {
    // The line changes with the minute, and at once with everything else.
    if (minuteNow() != m_statusMinute) {
        // Without a scan, the program still watches a list with nothing waiting.
        if (m_listReady && !m_window.scanTimer()->isActive()) m_engine->watch();
        updateStatusLine();
    }
    const QDate today = clockDate();
    if (!today.isValid() || today == m_listDay || m_newDay || !m_listReady) return;
    // The old day's rows whose minute passed unseen (a machine asleep over midnight) are
    // announced before the list changes; those left waiting stay in it.
    if (m_window.scanTimer()->isActive()) m_engine->Timer1_Timer();
    m_engine->changeDay(today, m_window.scanStoppedByUser());
    m_newDay = true;
    m_listDay = today;
    m_window.setScanStoppedByUser(false);
    m_window.reloadRecords();
}

QString Reminders::comingBatches() const {
    const QString now = minuteNow();
    if (!m_autostart || m_autostart() || now.isEmpty()) return {};
    RecordGrid coming(2, recordcolumns::kMainGridColumns);
    loadDueBetween(coming, m_window.paths().dataFilePath(), addMinutes(now, 1),
                   addMinutes(now, kExitLookAheadDays * 24 * 60));
    QString first;
    for (int r = 1; r < coming.rows() - 1; ++r) {
        const QString due = dueMinuteText(coming.textMatrix(r, recordcolumns::kDueTime));
        if (first.isEmpty() || due < first) first = due;
    }
    if (first.isEmpty()) return {};
    return kExitComing.arg(coming.rows() - 2).arg(shortDueText(first, now));
}

bool Reminders::confirmExit() {
    // The session is ending: nobody would see the question.
    if (qApp->isSavingSession()) return true;
    QStringList text;
    if (const int pending = ReminderStatus::of(m_window.grid(), minuteNow(), m_listDay, 0).pending;
        pending > 0)
        text << kExitPending.arg(pending);
    // Closing the window may be meant as putting it away: the coming days are named then.
    if (m_window.closingByCloseBox())
        if (const QString coming = comingBatches(); !coming.isEmpty()) text << coming;
    if (text.isEmpty()) return true;
    text << kExitQuestion;
    return m_window.messages().ask(QStringLiteral("提示"), text.join(u'\n'));
}

Reminders* installReminders(MainWindow& window, const ScreenMetrics& screen, AlertSound& sound) {
    return new Reminders(window, screen, sound);
}
