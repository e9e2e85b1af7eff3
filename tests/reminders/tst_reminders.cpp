// The reminder engine wired into the main window: a kill and a restart, the day change, records
// added in the editor, and the question before the program ends.

#include <QListWidget>

#include "mainwindow/windowfixture.h"
#include "platform/screenmetrics.h"
#include "reminders/reminderfiles.h"
#include "reminders/reminderpopup.h"
#include "reminders/reminderpopupfactory.h"
#include "reminders/reminders.h"

using namespace reminderfiles;

namespace {

QtMessageHandler g_next = nullptr;  // passes on all but the offscreen platform's complaints
void quiet(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support")))
        g_next(type, context, text);
}

// The open pop-ups as "slot part", with " 补发" for a late one.
QStringList describe(Reminders& reminders) {
    QStringList seen;
    for (ReminderPopup* popup : reminders.popups().openPopups()) {
        const QListWidget* list = popup->list();
        const bool late = list->item(0)->text().startsWith(QStringLiteral("补发"));
        seen << popup->slotName() + u' ' + list->item(late ? 3 : 2)->text().mid(5) +
                    (late ? QStringLiteral(" 补发") : QString());
    }
    return seen;
}

}  // namespace

class TestReminders : public QObject {
    Q_OBJECT
    FixedScreenMetrics m_screen{1024, 768, 728};

    // Builds and starts the window with its reminders at the time, then lets the tick that
    // follows a load run.
    Reminders* start(WindowFixture& f, const char* time) {
        f.clock.set(at(time));
        if (!f.window)
            f.window = std::make_unique<MainWindow>(AppPaths(f.dir.path()), f.clock, f.messages);
        Reminders* reminders = installReminders(*f.window, m_screen);
        f.start();
        QCoreApplication::processEvents();
        return reminders;
    }
    QString ini(WindowFixture& f) { return f.dir.filePath("ts.ini"); }

  private slots:
    void initTestCase() { g_next = qInstallMessageHandler(quiet); }

    void killAndRestart() {
        WindowFixture f({recordLine("甲", "2024-04-04 09:00"), recordLine("乙", "2024-04-04 09:03"),
                         recordLine("丙", "2024-04-04 12:00")});
        Reminders* first = start(f, "2024-04-04 09:00:10");
        QCOMPARE(describe(*first), QStringList{"1|1 甲"});

        // Killed: the window goes without its exit steps, the slot stays busy.
        f.window.reset();
        QCOMPARE(flag(ini(f), "1|1"), "1");

        Reminders* second = start(f, "2024-04-04 09:05:30");
        QCOMPARE(f.column(11), (QStringList{"到期", "到期", "", ""}));
        QCOMPARE(f.grid().cellForeColor(1, 1), RecordGrid::kYellow);
        // 乙 fell due while the program was away: announced at once, in the freed slot.
        QCOMPARE(describe(*second), QStringList{"1|1 乙 补发"});
        QCOMPARE(flag(ini(f), "1|2"), "0");
        QVERIFY(f.messages.messages().isEmpty());
    }

    void dayChange_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("stoppedByUser");
        QTest::addColumn<QString>("wake");
        QTest::addColumn<QStringList>("popups");
        QTest::addColumn<bool>("scanning");
        const QStringList both = {recordLine("旧", "2024-04-04 23:50"),
                                  recordLine("新", "2024-04-05 00:00")};
        // clang-format off
        QTest::newRow("midnight: the new day's record, old pop-ups stay")
            << both << "2024-04-04 23:50:30" << false << "2024-04-05 00:00:01"
            << QStringList{"1|1 旧", "1|2 新"} << true;
        QTest::newRow("停止提醒 ends with its day")
            << both << "2024-04-04 23:40:00" << true << "2024-04-05 00:00:01"
            << QStringList{"1|1 新"} << true;
        QTest::newRow("asleep over midnight: the old day's row first")
            << both << "2024-04-04 23:40:00" << false << "2024-04-05 08:00:00"
            << QStringList{"1|1 旧 补发", "1|2 新 补发"} << true;
        QTest::newRow("a new day with nothing due stops the scan")
            << QStringList{recordLine("旧", "2024-04-04 23:50")} << "2024-04-04 23:50:30" << false
            << "2024-04-05 00:00:01" << QStringList{"1|1 旧"} << false;
        // clang-format on
    }
    void dayChange() {
        QFETCH(QStringList, lines);
        QFETCH(QString, start);
        QFETCH(bool, stoppedByUser);
        QFETCH(QString, wake);
        QFETCH(QStringList, popups);
        QFETCH(bool, scanning);
        WindowFixture f(lines);
        Reminders* reminders = this->start(f, start.toLatin1().constData());
        if (stoppedByUser) {
            f.window->setScanInterval(0);
            f.window->setScanStoppedByUser(true);
        }
        f.clock.set(at(wake.toLatin1().constData()));
        reminders->checkDay();
        QCoreApplication::processEvents();
        QCOMPARE(describe(*reminders), popups);
        QCOMPARE(f.window->scanTimer()->isActive(), scanning);
        QCOMPARE(f.action("bg")->isEnabled(), scanning);
        QCOMPARE(f.action("kq")->isEnabled(), !scanning);
        QCOMPARE(f.column(1).mid(0, f.grid().rows() - 2),
                 lines.size() > 1 ? QStringList{"新"} : QStringList{});
    }

    // The loader reads the cheap clock, which may lag the precise one by a few milliseconds:
    // the day check goes by the clock the loader reads, so the list it asks for is the new day's.
    void dayCheckReadsTheLoadersClock() {
        struct LaggingClock : FixedClock {
            using FixedClock::FixedClock;
            QDateTime now() const override { return FixedClock::now().addMSecs(30); }
        };
        WindowFixture f(
            {recordLine("旧", "2024-04-04 23:59"), recordLine("新", "2024-04-05 00:00")});
        LaggingClock clock(at("2024-04-04 23:59:30"));
        f.window = std::make_unique<MainWindow>(AppPaths(f.dir.path()), clock, f.messages);
        Reminders* reminders = installReminders(*f.window, m_screen);
        f.start();
        QCoreApplication::processEvents();

        clock.set(at("2024-04-04 23:59:59").addMSecs(980));  // now() is past midnight already
        reminders->checkDay();
        QCoreApplication::processEvents();
        QCOMPARE(f.column(1), (QStringList{"旧", ""}));
        clock.set(at("2024-04-05 00:00:00").addMSecs(10));
        reminders->checkDay();
        QCoreApplication::processEvents();
        QCOMPARE(f.column(1), (QStringList{"新", ""}));
        QCOMPARE(describe(*reminders), (QStringList{"1|1 旧", "1|2 新"}));
        f.window.reset();  // before the clock it reads
    }

    void recordAdded_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("stoppedByUser");
        QTest::addColumn<QString>("due");
        QTest::addColumn<QStringList>("list");    // project parts of today's list
        QTest::addColumn<QStringList>("popups");  // at 09:07
        // clang-format off
        QTest::newRow("empty list: the scan starts")
            << QStringList{} << false << "2024-04-04 09:07" << QStringList{"新", ""}
            << QStringList{"1|1 新"};
        QTest::newRow("reminders stopped by the user stay stopped")
            << QStringList{recordLine("甲", "2024-04-04 10:00")} << true << "2024-04-04 09:07"
            << QStringList{"甲", "新", ""} << QStringList{};
        QTest::newRow("due tomorrow: not in today's list")
            << QStringList{} << false << "2024-04-05 09:07" << QStringList{""} << QStringList{};
        // clang-format on
    }
    void recordAdded() {
        QFETCH(QStringList, lines);
        QFETCH(bool, stoppedByUser);
        QFETCH(QString, due);
        QFETCH(QStringList, list);
        QFETCH(QStringList, popups);
        WindowFixture f(lines);
        Reminders* reminders = start(f, "2024-04-04 09:05:30");
        if (stoppedByUser) {
            f.window->setScanInterval(0);
            f.window->setScanStoppedByUser(true);
        }
        f.window->noteRecordAdded(recordLine("新", due).split(u','));
        QCOMPARE(f.column(1), list);
        f.clock.set(at("2024-04-04 09:07:00"));
        if (f.window->scanTimer()->isActive()) emit f.window->scanTick();
        QCOMPARE(describe(*reminders), popups);
    }

    void exitQuestion_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("closeBox");  // else 退出
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");  // empty: none asked
        QTest::addColumn<bool>("ends");
        const QStringList pending = {recordLine("甲"), recordLine("乙", "2024-04-04 10:00"),
                                     recordLine("丙", "2024-04-04 11:00")};
        const QString asked =
            "今日还有 2 条记录尚未提醒。程序退出后不会提醒这些记录。\n"
            "确定要退出吗？";
        // clang-format off
        QTest::newRow("nothing pending: no question") << QStringList{recordLine("甲")} << true
            << false << "" << true;
        QTest::newRow("close box, 否 keeps running") << pending << true << false << asked << false;
        QTest::newRow("close box, 是 ends") << pending << true << true << asked << true;
        QTest::newRow("退出, 否 keeps running") << pending << false << false << asked << false;
        // clang-format on
    }
    void exitQuestion() {
        QFETCH(QStringList, lines);
        QFETCH(bool, closeBox);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        QFETCH(bool, ends);
        WindowFixture f(lines);
        start(f, "2024-04-04 09:05:30");  // 甲 is announced
        f.messages.setAnswer(answer);
        if (closeBox)
            QCOMPARE(f.window->close(), ends);
        else
            f.action("end")->trigger();
        QCOMPARE(f.messages.texts(), question.isEmpty() ? QStringList{} : QStringList{question});
        QCOMPARE(flag(ini(f), "1|1"), ends ? "0" : "1");  // the end frees the open pop-up's slot
    }
};

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
