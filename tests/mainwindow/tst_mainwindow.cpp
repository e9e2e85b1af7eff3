// The main window and its commands: start-up, 读取数据, the reminder switch, removing the selected
// row, 删除过期数据, 数据初始化, the search and the tray icon.

#include <sys/resource.h>
#include <QLineEdit>
#include <QTimer>
#include <csignal>

#include "mainwindow/recordmaintenance.h"
#include "mainwindow/reminderswitch.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/trayicon.h"
#include "mainwindow/windowfixture.h"
#include "platform/textfile.h"
#include "records/recordgridview.h"
#include "reminders/reminderengine.h"

namespace {

QStringList numberedLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i) lines << recordLine(QString::number(i));
    return lines;
}

// The window started with the switch and the list commands installed.
struct Fixture : WindowFixture {
    ReminderSwitch* reminderSwitch;
    explicit Fixture(const QStringList& lines) : WindowFixture(lines) {
        reminderSwitch = new ReminderSwitch(*window);
        new RecordMaintenance(*window, *reminderSwitch);
        start();
    }
    bool scanning() const { return window->scanTimer()->isActive(); }
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
  private slots:
    // The scan runs from the start when something is due today, else 开启提醒 is offered.
    void startUp_data() {
        QTest::addColumn<QStringList>("lines");  // {"<folder>"}: a.bz is a folder
        QTest::addColumn<int>("rows");
        QTest::newRow("no file") << QStringList() << 2;
        QTest::newRow("a.bz is a folder") << QStringList{"<folder>"} << 2;
        QTest::newRow("nothing due today")
            << QStringList{recordLine("甲", "2024-04-05 09:05")} << 2;
        QTest::newRow("two due today")
            << QStringList{recordLine("甲"), recordLine("乙", "2024-04-04 23:59"), ",,,,,,,,,,"}
            << 4;
    }
    void startUp() {
        QFETCH(QStringList, lines);
        QFETCH(int, rows);
        const bool folder = lines == QStringList{"<folder>"};
        WindowFixture f(folder ? QStringList() : lines);
        if (folder) QVERIFY(QDir().mkdir(f.dataPath()));
        f.start();
        QCOMPARE(f.grid().rows(), rows);
        QCOMPARE(f.window->scanTimer()->isActive(), rows > 2);
        QCOMPARE(f.window->scanTimer()->interval(), rows > 2 ? 5000 : 0);
        QCOMPARE(f.action("kq")->isEnabled(), rows == 2);
        QCOMPARE(f.action("bg")->isEnabled(), rows > 2);
        QCOMPARE(f.messages.texts().join("").contains("无法读取数据文件"), folder);
        QCOMPARE(QFileInfo(f.dataPath()).isDir(), folder);
    }

    // 读取数据 shows the file as it is now, without the old marks; records it brings when the list
    // was empty are watched at once, unless the user stopped the reminders.
    void reload_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<bool>("stoppedByUser");
        QTest::newRow("marks and colours dropped")
            << QStringList{recordLine("甲"), recordLine("乙", "2024-04-03 09:05")} << false;
        QTest::newRow("nothing was due at start") << QStringList{} << false;
        QTest::newRow("the user stopped the reminders") << QStringList{} << true;
    }
    void reload() {
        QFETCH(QStringList, before);
        QFETCH(bool, stoppedByUser);
        Fixture f(before);
        if (!before.isEmpty()) f.mark(1);
        if (stoppedByUser) {
            f.action("bg")->setEnabled(true);
            f.action("bg")->trigger();
        }
        f.write({recordLine("甲"), recordLine("丙", "2024-04-04 10:00")});
        f.action("dq")->trigger();
        QCOMPARE(f.column(1), (QStringList{"甲", "丙", ""}));
        QCOMPARE(f.column(0), (QStringList{"1", "2", ""}));
        QCOMPARE(f.grid().textMatrix(1, 11), QString());
        QCOMPARE(f.grid().cellForeColor(1, 3), RecordGrid::kDefaultColour);
        QCOMPARE(f.scanning(), !stoppedByUser);
        QCOMPARE(f.action("kq")->isEnabled(), stoppedByUser);
    }

    void reminderSwitch_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<int>("timer");  // 0: 开启失败
        QTest::newRow("nothing due") << 0 << "5000" << 0;
        QTest::newRow("two due") << 2 << "5000" << 5000;
        QTest::newRow("half to even, down") << 1 << "1500.5" << 1500;
        QTest::newRow("half to even, up, blank and unit") << 1 << " 3001.5ms" << 3002;
        QTest::newRow("reads as 0") << 1 << "abc" << 0;
    }
    void reminderSwitch() {
        QFETCH(int, records);
        QFETCH(QString, interval);
        QFETCH(int, timer);
        Fixture f(records ? numberedLines(records)
                          : QStringList{recordLine("x", "2024-04-05 09:05")});
        f.action("bg")->trigger();  // start from stopped
        f.messages.clear();
        f.window->setScanIntervalProvider([interval] { return interval; });
        f.action("kq")->trigger();
        QCOMPARE(f.messages.texts(), QStringList{timer ? "已经开启" : "开启失败"});
        QCOMPARE(f.scanning(), timer != 0);
        QCOMPARE(f.window->scanTimer()->interval(), timer);
        QCOMPARE(f.action("kq")->isEnabled(), timer == 0);
        QCOMPARE(f.action("bg")->isEnabled(), timer != 0);
        f.messages.clear();
        f.reminderSwitch->stop();  // also when already stopped
        QCOMPARE(f.messages.texts(), QStringList{"已经关闭"});
        QVERIFY(!f.scanning() && f.action("kq")->isEnabled() && !f.action("bg")->isEnabled());
    }

    // A double click takes the selected row off today's list, never out of a.bz.
    void removeSelected_data() {
        QTest::addColumn<int>("selected");  // of 0, 1, 2, 3 (marked) and the blank row
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("row 3") << 3 << QStringList{"0", "1", "3", ""};
        QTest::newRow("the blank last row") << 5 << QStringList{"0", "1", "2", "3"};
        QTest::newRow("RowSel 0 changes nothing") << 0 << QStringList{"0", "1", "2", "3", ""};
    }
    void removeSelected() {
        QFETCH(int, selected);
        QFETCH(QStringList, parts);
        Fixture f(numberedLines(4));
        const QByteArray before = f.read();
        f.mark(4);
        f.grid().setRowSel(selected);
        emit f.window->gridView()->gridDoubleClicked();
        QCOMPARE(f.column(1), parts);
        for (int r = 1; r < f.grid().rows(); ++r) {  // the mark's colour moves with its row
            QCOMPARE(f.grid().textMatrix(r, 0), r < parts.size() ? QString::number(r) : "");
            QCOMPARE(f.grid().cellForeColor(r, 3) == RecordGrid::kYellow, parts[r - 1] == "3");
        }
        QCOMPARE(f.read(), before);
    }

    // Every line of a.bz equal to a fired row goes; the others stay in their order.
    void deleteExpired_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("marked");
        QTest::addColumn<QStringList>("kept");  // in a.bz afterwards
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QStringList>("messages");
        const QStringList other{recordLine("other day", "2024-05-01 08:00"), ",,,,,,,,,,"};
        const QStringList a{recordLine("A")}, b{recordLine("B")}, c{recordLine("C")},
            d{recordLine("D")};
        QTest::newRow("two marked of four, one line twice")
            << a + b + c + b + d + other << QList<int>{2, 3} << a + d + other
            << QStringList{"A", "B", "D", ""} << QStringList{};
        QTest::newRow("all removed: the reminders stop")
            << a + b << QList<int>{1, 2} << QStringList{} << QStringList{""}
            << QStringList{"已经关闭",
                           "由于今日提醒完毕。所以已经关闭提醒。 您可以关闭本程序以便节省资源。"};
        QTest::newRow("empty list")
            << other << QList<int>{} << other << QStringList{""} << QStringList{"没有检测到数据"};
    }
    void deleteExpired() {
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, marked);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, parts);
        QFETCH(QStringList, messages);
        Fixture f(lines);
        for (int row : marked) f.mark(row);
        f.action("scgqsj")->trigger();
        QCOMPARE(f.messages.texts(), messages);
        QCOMPARE(f.read(), WindowFixture::encode(kept));
        QCOMPARE(f.column(1), parts);
        for (int r = 1; r < parts.size(); ++r)
            QCOMPARE(f.grid().textMatrix(r, 0), QString::number(r));
        QCOMPARE(f.scanning(), parts.size() > 1);
    }

    // The fired line goes, every other line stays in its place with CR LF between lines; a file
    // that cannot be read or written is left as it was, and so is the list.
    void deleteExpiredRewrites_data() {
        QTest::addColumn<QByteArray>("file");   // "<missing>": removed after loading
        QTest::addColumn<QByteArray>("after");  // empty: the command fails
        const QByteArray a = gbk::encode(recordLine("A")), b = gbk::encode(recordLine("B"));
        const QByteArray other = gbk::encode(recordLine("other day", "2024-05-01 08:00"));
        QTest::newRow("LF line ends become CR LF") << a + "\n" + other + "\n" + b + "\n"
                                                   << other + "\r\n" + b;
        QTest::newRow("empty lines kept")
            << other + "\r\n\r\n" + a + "\r\n\r\n" + b << other + "\r\n\r\n\r\n" + b;
        QTest::newRow("disk full")
            << (other + "\r\n").repeated(200) + a + "\r\n" + b << QByteArray();
        QTest::newRow("a.bz missing") << QByteArray("<missing>") << QByteArray();
    }
    void deleteExpiredRewrites() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, after);
        const bool missing = file == "<missing>";
        Fixture f({});
        QVERIFY(writeFileAtomically(
            f.dataPath(),
            missing ? WindowFixture::encode({recordLine("A"), recordLine("B")}) : file, nullptr));
        f.window->reloadRecords();
        f.mark(1);
        if (missing) QFile::remove(f.dataPath());
        std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails as on a full disk
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit{after.isEmpty() ? 4096 : saved.rlim_cur, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        f.action("scgqsj")->trigger();
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(f.read(), after.isEmpty() ? file : after);
        QCOMPARE(f.column(1), (after.isEmpty() ? QStringList{"A", "B", ""} : QStringList{"B", ""}));
        QCOMPARE(f.grid().textMatrix(1, 11), after.isEmpty() ? "到期" : "");
        QCOMPARE(f.messages.messages().size(), after.isEmpty() ? 1 : 0);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 missing ? QStringList{} : QStringList{"a.bz"});
    }

    void initialiseData_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("messages");  // "?": the question
        QTest::addColumn<QByteArray>("after");
        const QByteArray before = WindowFixture::encode({recordLine("A")});
        QTest::newRow("confirmed")
            << true << true << QStringList{"?", "初始化完成。"} << QByteArray();
        QTest::newRow("declined") << true << false << QStringList{"?"} << before;
        QTest::newRow("no file") << false << true << QStringList{"无需初始化数据。"}
                                 << QByteArray("<missing>");
    }
    void initialiseData() {
        QFETCH(bool, exists);
        QFETCH(bool, confirm);
        QFETCH(QStringList, messages);
        QFETCH(QByteArray, after);
        Fixture f(exists ? QStringList{recordLine("A")} : QStringList{});
        f.messages.setAnswer(confirm);
        f.action("sjcsh")->trigger();
        QStringList seen;
        for (const auto& m : f.messages.messages()) seen << (m.question ? "?" : m.text);
        QCOMPARE(seen, messages);
        QCOMPARE(f.read(), after);
    }

    // Every cell that contains the text turns red, the others go back to their colours, and the
    // end message counts the matches. Row 2 has fired. A search for "2024" runs first; the second
    // is started with Enter.
    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("red");  // "row,col"
        QTest::newRow("contains") << "PB-00" << QStringList{"1,3", "2,3"};
        QTest::newRow("exact, letters in the other case") << "c35" << QStringList{"3,2"};
        QTest::newRow("no match") << "PB-003" << QStringList{};
        QTest::newRow("empty text matches nothing") << "" << QStringList{};
        QTest::newRow("a heading") << "组数" << QStringList{"0,9"};
        QTest::newRow("in the fired row") << "3号楼" << QStringList{"2,1", "3,10"};
    }
    void search() {
        QFETCH(QString, text);
        QFETCH(QStringList, red);
        Fixture f({"1号楼,C30,PB-001,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,36,2,,",
                   "3号楼,C30,PB-002,2024-3-7 09:05,28,2024-04-04 10:00,标准养护,1,2,,",
                   "5号楼,C35,XB-100,2024-3-7 09:05,28,2024-04-04 11:00,标准养护,1,2,3号楼旁,"});
        ReminderEngine::HighlightRow(f.grid(), 2, RecordGrid::kYellow, RecordGrid::kHighlight);
        SearchWindow window(f.grid(), f.messages, f.window.get());
        window.show();
        window.searchField()->setText(QStringLiteral("2024"));
        window.search();
        window.searchField()->setText(text);
        QTest::keyClick(window.searchField(), Qt::Key_Return);
        QStringList found;
        for (int r = 0; r < f.grid().rows(); ++r) {
            for (int c = 0; c < f.grid().cols(); ++c) {
                const quint32 fore = f.grid().cellForeColor(r, c);
                const quint32 back = f.grid().cellBackColor(r, c);
                if (fore == RecordGrid::kRed) found << QStringLiteral("%1,%2").arg(r).arg(c);
                if (r == 2 && c > 0 && fore != RecordGrid::kRed)  // the fired row's own colours
                    QVERIFY(fore == RecordGrid::kYellow && back == RecordGrid::kHighlight);
                if (fore == RecordGrid::kRed && r == 2)  // a match stands out on it
                    QVERIFY(back != RecordGrid::kHighlight && back != RecordGrid::kDefaultColour);
                if (r != 2) QCOMPARE(back, RecordGrid::kDefaultColour);
            }
        }
        QCOMPARE(found, red);
        QCOMPARE(f.messages.texts().last(),
                 QStringLiteral("搜索结束！共找到 %1 个匹配的单元格。").arg(red.size()));
    }

    // Without a tray (the offscreen platform has none) minimising keeps the window reachable.
    void trayIcon() {
        Fixture f({});
        TrayIcon tray(*f.window);
        QVERIFY(!tray.isShown());
        f.window->showMinimized();
        QTest::qWait(50);
        QVERIFY(f.window->isVisible());
        f.window->hide();
        tray.handleActivation(QSystemTrayIcon::Context);
        QVERIFY(f.window->isHidden());
        tray.handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(f.window->isVisible() && !f.window->isMinimized());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
