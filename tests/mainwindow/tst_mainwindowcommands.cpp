// The main window's commands on the offscreen platform: the reminder switch, removing the
// selected row, deleting fired records, data initialisation, the search and the tray icon.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "mainwindow/mainwindow.h"
#include "mainwindow/recordmaintenance.h"
#include "mainwindow/reminderswitch.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/trayicon.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"

namespace {

const QDateTime kNow(QDate(2024, 4, 4), QTime(9, 5, 30));

QString line(const QString& part, const QString& due = QStringLiteral("2024-04-04 09:05")) {
    return QStringLiteral("%1,C30,PB-017,2024-3-7 09:05,28,%2,标准养护,36,2,,").arg(part, due);
}

struct Fixture {
    QTemporaryDir dir;
    FixedClock clock{kNow};
    RecordingMessageService messages;
    std::unique_ptr<MainWindow> window;
    ReminderSwitch* reminderSwitch = nullptr;
    RecordMaintenance* maintenance = nullptr;

    QString dataPath() const { return QDir(dir.path()).filePath(QStringLiteral("a.bz")); }
    void write(const QStringList& lines) {
        QFile f(dataPath());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write a.bz");
        f.write(gbk::encode(lines.join(QStringLiteral("\r\n"))));
    }
    QByteArray read() const {
        QFile f(dataPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void start(const QStringList& lines) {
        if (!lines.isEmpty()) write(lines);
        window = std::make_unique<MainWindow>(AppPaths(dir.path()), clock, messages);
        reminderSwitch = new ReminderSwitch(*window);
        maintenance = new RecordMaintenance(*window, *reminderSwitch);
        window->startUp();
        messages.clear();
    }
    RecordGrid& grid() { return window->grid(); }
    QStringList column(int col) {
        QStringList texts;
        for (int r = 1; r < grid().rows(); ++r) texts << grid().textMatrix(r, col);
        return texts;
    }
    void mark(int row) {
        grid().setTextMatrix(row, 11, QStringLiteral("到期"));
        grid().setRow(row);
        grid().setCol(1);
        grid().setCellForeColor(RecordGrid::kYellow);
    }
};

}  // namespace

class TestMainWindowCommands : public QObject {
    Q_OBJECT
  private slots:
    void startSwitch_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("timer");
        QTest::newRow("no record due today") << 0 << "5000"
                                             << "开启失败" << 0;
        QTest::newRow("one record, 5000") << 1 << "5000"
                                          << "已经开启" << 5000;
        QTest::newRow("three records, 5000") << 3 << "5000"
                                             << "已经开启" << 5000;
        QTest::newRow("half to even, down") << 1 << "1500.5"
                                            << "已经开启" << 1500;
        QTest::newRow("half to even, up") << 1 << "3001.5"
                                          << "已经开启" << 3002;
        QTest::newRow("blank and unit") << 1 << " 7000ms"
                                        << "已经开启" << 7000;
        QTest::newRow("interval reads as 0") << 1 << "abc"
                                             << "开启失败" << 0;
    }
    void startSwitch() {
        QFETCH(int, records);
        QFETCH(QString, interval);
        QFETCH(QString, message);
        QFETCH(int, timer);
        Fixture f;
        QStringList lines;
        for (int i = 0; i < records; ++i) lines << line(QString::number(i));
        f.start(lines.isEmpty() ? QStringList{line("x", "2024-04-05 09:05")} : lines);
        f.window->action("bg")->trigger();  // start from stopped
        f.messages.clear();
        f.window->setScanIntervalProvider([interval] { return interval; });
        f.window->action("kq")->trigger();
        QCOMPARE(f.messages.texts(), QStringList{message});
        QCOMPARE(f.messages.messages().first().icon,
                 timer ? MessageIcon::Information : MessageIcon::Warning);
        QCOMPARE(f.window->scanTimer()->isActive(), timer != 0);
        if (timer) QCOMPARE(f.window->scanTimer()->interval(), timer);
        QCOMPARE(f.window->action("kq")->isEnabled(), timer == 0);
        QCOMPARE(f.window->action("bg")->isEnabled(), timer != 0);
    }

    void stopWhenAlreadyStopped() {
        Fixture f;
        f.start({});
        f.reminderSwitch->stop();
        QCOMPARE(f.messages.texts(), QStringList{"已经关闭"});
        QCOMPARE(f.messages.messages().first().icon, MessageIcon::None);
        QVERIFY(!f.window->scanTimer()->isActive());
        QVERIFY(f.window->action("kq")->isEnabled());
        QVERIFY(!f.window->action("bg")->isEnabled());
    }

    void removeSelected_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("row 3 of six rows")
            << 4 << 3 << QStringList{"0", "1", "3", ""} << QStringList{"1", "2", "3", ""};
        QTest::newRow("the blank last row")
            << 2 << 3 << QStringList{"0", "1"} << QStringList{"1", ""};
        QTest::newRow("only the blank row") << 0 << 1 << QStringList{} << QStringList{};
        QTest::newRow("RowSel 0 changes nothing")
            << 2 << 0 << QStringList{"0", "1", ""} << QStringList{"1", "2", ""};
    }
    void removeSelected() {
        QFETCH(int, records);
        QFETCH(int, selected);
        QFETCH(QStringList, parts);
        QFETCH(QStringList, numbers);
        Fixture f;
        QStringList lines;
        for (int i = 0; i < records; ++i) lines << line(QString::number(i));
        f.start(lines);
        const QByteArray before = f.read();
        f.grid().setRowSel(selected);
        f.maintenance->shanchuxuanzhong();
        QCOMPARE(f.column(1), parts);
        QCOMPARE(f.column(0), numbers);
        QCOMPARE(f.grid().textMatrix(0, 1), QStringLiteral("工程部位"));
        QCOMPARE(f.read(), before);
        QVERIFY(f.messages.messages().isEmpty());
    }

    void removedRowTakesItsColours() {
        Fixture f;
        f.start({line("0"), line("1"), line("2")});
        f.mark(3);
        f.grid().setRowSel(1);
        f.maintenance->shanchuxuanzhong();
        QCOMPARE(f.grid().cellForeColor(2, 1), RecordGrid::kYellow);
        QCOMPARE(f.grid().cellForeColor(3, 1), RecordGrid::kDefaultColour);
    }

    void deleteExpiredKeepsOtherLines() {
        Fixture f;
        const QStringList lines{
            line("A"), line("other day", "2024-05-01 08:00"), line("B"), line("C"), line("B"),
            line("D"), QStringLiteral(",,,,,,,,,,")};
        f.start(lines);
        QCOMPARE(f.grid().rows(), 7);  // A B C B D and the blank row
        f.mark(2);                     // B
        f.mark(3);                     // C
        f.window->action("scgqsj")->trigger();
        // Both lines of B leave the file (the one marked row matches two lines), C leaves too.
        QCOMPARE(f.read(), gbk::encode(QStringList{line("A"), line("other day", "2024-05-01 08:00"),
                                                   line("D"), QStringLiteral(",,,,,,,,,,")}
                                           .join("\r\n")));
        QCOMPARE(f.column(1), (QStringList{"A", "B", "D", ""}));
        QCOMPARE(f.column(0), (QStringList{"1", "2", "3", ""}));
        QVERIFY(f.messages.messages().isEmpty());
        QVERIFY(f.window->scanTimer()->isActive());
    }

    void deleteExpiredEmptyingTheListStopsTheScan() {
        Fixture f;
        f.start({line("A"), line("B")});
        f.mark(1);
        f.mark(2);
        f.window->action("scgqsj")->trigger();
        QCOMPARE(
            f.messages.texts(),
            (QStringList{"已经关闭",
                         "由于今日提醒完毕。所以已经关闭提醒。 您可以关闭本程序以便节省资源。"}));
        QCOMPARE(f.messages.messages().last().title, QStringLiteral("删除提醒"));
        QVERIFY(!f.window->scanTimer()->isActive());
        QCOMPARE(f.grid().rows(), 2);
        QCOMPARE(f.read(), QByteArray());
    }

    void deleteExpiredWithNothingLoaded() {
        Fixture f;
        f.start({line("A", "2024-04-05 09:05")});
        const QByteArray before = f.read();
        f.window->action("scgqsj")->trigger();
        QCOMPARE(f.messages.texts(), QStringList{"没有检测到数据"});
        QCOMPARE(f.grid().textMatrix(1, 0), QString());
        QCOMPARE(f.read(), before);
    }

    void deleteExpiredWithoutAReadableFile_data() {
        QTest::addColumn<bool>("directory");
        QTest::newRow("a.bz missing") << false;
        QTest::newRow("a.bz is a folder") << true;
    }
    void deleteExpiredWithoutAReadableFile() {
        QFETCH(bool, directory);
        Fixture f;
        f.start({line("A"), line("B")});
        f.mark(1);
        QFile::remove(f.dataPath());
        if (directory) QVERIFY(QDir().mkdir(f.dataPath()));
        f.window->action("scgqsj")->trigger();
        QCOMPARE(f.messages.messages().size(), 1);
        QVERIFY(f.messages.texts().first().contains(QStringLiteral("未改动")));
        QCOMPARE(f.grid().rows(), 4);
        QCOMPARE(QFileInfo(f.dataPath()).isDir(), directory);
        QCOMPARE(QFileInfo::exists(f.dataPath()), directory);
    }

    void initialiseData_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QByteArray>("after");
        const QByteArray before = gbk::encode(line("A"));
        QTest::newRow("confirmed")
            << true << true << QStringList{QStringLiteral("<ask>"), "初始化完成。"}
            << QByteArray("");
        QTest::newRow("declined") << true << false << QStringList{QStringLiteral("<ask>")}
                                  << before;
        QTest::newRow("no file") << false << true << QStringList{"无需初始化数据。"}
                                 << QByteArray("<missing>");
    }
    void initialiseData() {
        QFETCH(bool, exists);
        QFETCH(bool, confirm);
        QFETCH(QStringList, messages);
        QFETCH(QByteArray, after);
        Fixture f;
        f.start(exists ? QStringList{line("A")} : QStringList{});
        f.messages.setAnswer(confirm);
        f.window->action("sjcsh")->trigger();
        QStringList seen;
        for (const auto& m : f.messages.messages())
            seen << (m.question ? QStringLiteral("<ask>") : m.text);
        QCOMPARE(seen, messages);
        QCOMPARE(f.read(), after);
        QCOMPARE(f.grid().rows(), exists ? 3 : 2);  // the list keeps its rows until reloaded
    }

    void search() {
        Fixture f;
        f.start({line("A"),
                 QStringLiteral("B,C30 ,PB-1,2024-3-7 09:05,28,2024-04-04 10:00,标准养护,1,2,,"),
                 QStringLiteral("C,c30,PB-2,2024-3-7 09:05,28,2024-04-04 11:00,标准养护,1,2,,")});
        SearchWindow window(f.grid(), f.messages, f.window.get());
        auto red = [&] {
            QStringList cells;
            for (int r = 0; r < f.grid().rows(); ++r)
                for (int c = 0; c < f.grid().cols(); ++c)
                    if (f.grid().cellForeColor(r, c) == RecordGrid::kRed)
                        cells << QStringLiteral("%1,%2").arg(r).arg(c);
            return cells;
        };
        window.searchField()->setText(QStringLiteral("C30"));
        window.search();
        QCOMPARE(red(), QStringList{"1,2"});
        QCOMPARE(f.messages.texts(), QStringList{"搜索结束！"});
        window.searchField()->setText(QStringLiteral("组数"));
        window.search();
        QCOMPARE(red(), QStringList{"0,9"});  // the first search's cell is back to normal
        window.searchField()->clear();
        window.search();
        QStringList empties = red();
        QVERIFY(empties.contains("0,12"));  // the unnamed heading
        QVERIFY(empties.contains("4,0"));   // the blank row's number
        QVERIFY(empties.contains("1,10"));  // an empty remark
        QVERIFY(!empties.contains("1,1"));
    }

    void trayRestoresTheWindow() {
        Fixture f;
        f.start({});
        TrayIcon tray(*f.window);
        f.window->showMinimized();
        f.window->hide();
        tray.handleActivation(QSystemTrayIcon::Context);
        QVERIFY(f.window->isHidden());
        tray.handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(f.window->isVisible());
        QVERIFY(!f.window->isMinimized());
    }

    void minimisingWithoutATrayKeepsTheWindowReachable() {
        Fixture f;
        f.start({});
        TrayIcon tray(*f.window);
        QVERIFY(!tray.isShown());  // the offscreen platform has no tray
        f.window->showMinimized();
        QTest::qWait(50);
        QVERIFY(f.window->isVisible());
    }
};

QTEST_MAIN(TestMainWindowCommands)
#include "tst_mainwindowcommands.moc"
