#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTimer>

#include "platform/busycursor.h"
#include "platform/clock.h"
#include "platform/lenientnumber.h"
#include "platform/messageservice.h"
#include "platform/programfont.h"
#include "platform/twips.h"
#include "records/recordfileload.h"
#include "records/recordgridmodel.h"
#include "records/recordgridview.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"

namespace {

const QString kLoadingCaption = QStringLiteral("正在获取正确的版本信息。");
const QString kCaptionPrefix = QStringLiteral("Mirosta V2.2  ");

// Client area of the window as designed, in twips.
constexpr int kClientWidthTwips = 13080;
constexpr int kClientHeightTwips = 7500;

// Column widths that start-up sets, in twips, in the order it sets them.
constexpr std::pair<int, int> kColumnWidths[] = {{1, 1300}, {2, 1400}, {3, 1050},
                                                 {4, 2500}, {6, 2500}, {10, 1200}};

struct MenuItem {
    const char* name;
    const char* caption;  // nullptr: a separator
};

}  // namespace

MainWindow::MainWindow(AppPaths paths, const Clock& clock, MessageService& messages,
                       QWidget* parent)
    : QMainWindow(parent),
      m_paths(std::move(paths)),
      m_clock(clock),
      m_messages(messages),
      m_grid(2, recordcolumns::kMainGridColumns) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Mirosta"));

    auto* central = new QWidget(this);
    setCentralWidget(central);
    m_model = new RecordGridModel(m_grid, this);
    m_view = new RecordGridView(m_model, central);
    m_view->setObjectName(QStringLiteral("Grid1"));
    m_view->setAccessibleName(QStringLiteral("今日到期的记录"));
    m_view->setFont(songtiFont(12));
    m_view->verticalHeader()->setFont(songtiFont(12));
    m_view->horizontalHeader()->setFont(songtiFont(12));
    m_view->verticalHeader()->setDefaultSectionSize(QFontMetrics(songtiFont(12)).height() + 6);
    m_view->setSortable();
    m_view->setFitToContents();

    buildMenus();
    statusBar()->setSizeGripEnabled(false);

    m_scanTimer = new QTimer(this);
    m_scanTimer->setObjectName(QStringLiteral("Timer1"));
    connect(m_scanTimer, &QTimer::timeout, this, &MainWindow::scanTick);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("Timer2"));
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::updateClockCaption);
    m_clockTimer->start(1000);

    connect(action(QStringLiteral("end")), &QAction::triggered, this, &MainWindow::exitProgram);
    connect(action(QStringLiteral("dq")), &QAction::triggered, this, &MainWindow::reloadRecords);

    const int menuHeight = menuBar()->sizeHint().height();
    resize(kClientWidthTwips / twips::kPerPixel,
           kClientHeightTwips / twips::kPerPixel + menuHeight);
}

MainWindow::~MainWindow() {
    // The start-up's read stops first; the view and its model read the grid, which is destroyed
    // before the base class's children.
    delete m_startUpLoad;
    delete m_view;
    delete m_model;
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    auto addItems = [this](QMenu* menu, std::initializer_list<MenuItem> items) {
        for (const MenuItem& item : items) {
            if (!item.caption) {
                menu->addSeparator();
                continue;
            }
            QAction* a = menu->addAction(QString::fromUtf8(item.caption));
            a->setObjectName(QString::fromLatin1(item.name));
        }
    };
    auto addMenu = [bar](const char* name, const char* caption) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
        return menu;
    };

    m_mainMenu = addMenu("menu", "菜单");
    QMenu* init = m_mainMenu->addMenu(QStringLiteral("初始化"));
    init->setObjectName(QStringLiteral("csh"));
    addItems(init, {{"tscsh", "提示初始化"}, {"sjcsh", "数据初始化"}});
    addItems(m_mainMenu, {{"", nullptr}, {"end", "退出"}});

    addItems(addMenu("yx", "运行"), {{"kq", "开启提醒"}, {"", nullptr}, {"bg", "停止提醒"}});
    addItems(addMenu("sjbj", "数据编辑"), {{"dq", "读取数据"},
                                           {"", nullptr},
                                           {"crsj", "插入数据"},
                                           {"", nullptr},
                                           {"find", "查找数据"},
                                           {"syjh", "试验计划"},
                                           {"", nullptr},
                                           {"scgqsj", "删除过期数据"}});
    addItems(addMenu("rjsz", "软件设置"), {{"sz", "设置"}});
    addItems(addMenu("bz", "帮助"), {{"gy", "关于"}, {"sj", "提供建议/升级"}});

    // Keys of the commands used most; the menus show them beside the captions.
    const std::pair<const char*, QKeySequence> keys[] = {
        {"dq", QKeySequence(Qt::Key_F5)},
        {"crsj", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"find", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"end", QKeySequence(Qt::CTRL | Qt::Key_Q)}};
    for (const auto& [name, key] : keys) action(QString::fromLatin1(name))->setShortcut(key);
}

QAction* MainWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void MainWindow::startUp() {
    // The empty window is on the screen before the data file is read.
    show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    action(QStringLiteral("bg"))->setEnabled(false);
    setWindowTitle(kLoadingCaption);
    for (const auto& [col, twips] : kColumnWidths) m_grid.setColWidth(col, twips);
    const QStringList& headings = recordHeadings();
    for (int c = 0; c < headings.size(); ++c) m_grid.setTextMatrix(0, c, headings.at(c));

    // The window stays free while a long file is read.
    m_startUpLoad = new RecordFileLoad(
        recordcolumns::kMainGridColumns,
        [path = m_paths.dataFilePath(), &clock = m_clock](RecordGrid& grid, const LoadProgress&) {
            return loadDueToday(grid, path, clock);
        },
        this);
    connect(m_startUpLoad, &RecordFileLoad::finished, this, &MainWindow::startUpLoaded);
}

void MainWindow::waitForTodayList() {
    if (m_startUpLoad) m_startUpLoad->wait();
}

void MainWindow::startUpLoaded() {
    RecordFileLoad* load = std::exchange(m_startUpLoad, nullptr);
    if (!load) return;
    m_grid.takeRecordRows(std::move(load->grid()));
    const LoadReport report = load->report();
    load->deleteLater();
    todayListDone(report);
}

void MainWindow::startScanIfDue() {
    if (m_grid.rows() == 2 || m_scanTimer->isActive() || m_scanStoppedByUser) return;
    // An interval of 0 leaves the scan, and with it the switch, stopped.
    const qint64 interval = leadingInteger(scanIntervalText());
    if (interval <= 0) return;
    setScanInterval(interval);
    showScanSwitch(true);
}

void MainWindow::showScanSwitch(bool running) {
    action(QStringLiteral("bg"))->setEnabled(running);
    action(QStringLiteral("kq"))->setEnabled(!running);
}

void MainWindow::todayListDone(const LoadReport& report) {
    if (report.status == FileStatus::Unreadable)
        m_messages.show(QStringLiteral("错误"),
                        QStringLiteral("无法读取数据文件，今日列表为空，文件未作任何改动。\n%1")
                            .arg(report.error),
                        MessageIcon::Warning);
    emit todayListLoaded();
    // Records added since start-up are watched at once, unless the user stopped the reminders.
    startScanIfDue();
}

void MainWindow::reloadRecords() {
    // A start-up read still going on is superseded.
    delete std::exchange(m_startUpLoad, nullptr);
    todayListDone([this] {
        const BusyCursor busy;
        return reloadDueToday(m_grid, m_paths.dataFilePath(), m_clock);
    }());
}

QString MainWindow::scanIntervalText() const {
    return m_intervalProvider ? m_intervalProvider() : QString::number(kDefaultScanIntervalMs);
}

void MainWindow::setScanIntervalProvider(std::function<QString()> provider) {
    m_intervalProvider = std::move(provider);
}

void MainWindow::setScanInterval(qint64 milliseconds) {
    if (milliseconds <= 0) {
        m_scanTimer->stop();
        m_scanTimer->setInterval(0);
    } else {
        m_scanTimer->start(static_cast<int>(qMin<qint64>(milliseconds, INT_MAX)));
    }
    emit scanStateChanged();
}

void MainWindow::updateClockCaption() {
    setWindowTitle(kCaptionPrefix + m_clock.secondText());
}

void MainWindow::layoutGrid() {
    // The grid fills the window's outer size less 100 twips across and 950 twips down.
    const QRect outer = frameGeometry();
    const int widthTwips = outer.width() * twips::kPerPixel - 100;
    const int heightTwips = outer.height() * twips::kPerPixel - 950;
    const int width = widthTwips > 0 ? qMax(widthTwips / twips::kPerPixel, 1) : 1;
    // It ends above the status line at the latest.
    const int height =
        heightTwips > 0 ? qBound(1, heightTwips / twips::kPerPixel, centralWidget()->height()) : 1;
    m_view->setGeometry(0, 0, width, height);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutGrid();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    // A minimised window goes to the tray, but only when there is a tray icon to bring it back.
    if (isMinimized() && m_trayShown && m_trayShown()) QTimer::singleShot(0, this, &QWidget::hide);
    layoutGrid();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    const QScopedValueRollback closeBox(m_closingByCloseBox, true);
    exitProgram();
    event->setAccepted(m_exiting);
}

void MainWindow::exitProgram() {
    // A second 退出 while the first one's question is open does not ask again.
    if (m_exiting || m_checkingExit) return;
    {
        const QScopedValueRollback checking(m_checkingExit, true);
        for (const auto& check : m_exitChecks)
            if (!check()) return;
    }
    m_exiting = true;
    for (const auto& step : m_exitSteps) step();
    QApplication::quit();
}

void MainWindow::bringToFront() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}
