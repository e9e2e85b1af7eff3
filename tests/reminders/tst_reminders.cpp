// The reminders wired into the main window: the pop-ups they open and the slots they free, a kill
// and a restart, the day change, records added in the editor and the question before the end.

#include <QListWidget>
#include <QWindow>

#include "mainwindow/windowfixture.h"
#include "platform/screenmetrics.h"
#include "records/recordloader.h"
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

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

// The open pop-ups as "slot part", with " 补发" for a late one.
QStringList describe(Reminders& reminders) {
    QStringList seen;
    for (ReminderPopup* popup : reminders.popups().openPopups()) {
        const QStringList lines = itemTexts(popup->list());
        const bool late = lines[0].startsWith(QStringLiteral("补发"));
        seen << popup->slotName() + u' ' + lines[late ? 3 : 2].mid(5) + (late ? " 补发" : "");
    }
    return seen;
}

}  // namespace

class TestReminders : public QObject {
    Q_OBJECT
    FixedScreenMetrics m_screen{1024, 768, 728};  // a 40-pixel taskbar at the bottom

    // Builds and starts the window with its reminders at the time, then lets the tick that
    // follows a load run.
    Reminders* start(WindowFixture& f, const QString& time, const Clock* clock = nullptr) {
        f.clock.set(at(time.toLatin1().constData()));
        if (!f.window || clock)
            f.window = std::make_unique<MainWindow>(AppPaths(f.dir.path()),
                                                    clock ? *clock : f.clock, f.messages);
        Reminders* reminders = installReminders(*f.window, m_screen);
        f.start();
        QCoreApplication::processEvents();
        return reminders;
    }
    static void stopByUser(WindowFixture& f) {
        f.window->setScanInterval(0);
        f.window->setScanStoppedByUser(true);
    }
    static QString ini(WindowFixture& f) { return f.dir.filePath("ts.ini"); }

  private slots:
    void initTestCase() { g_next = qInstallMessageHandler(quiet); }

    // Two rows due in the same minute: two pop-ups, the second one window height above the first;
    // each one's closing frees its own slot only, and the end frees the rest.
    void popupsOpenAndFreeTheirSlots() {
        WindowFixture f;
        f.clock.set(at("2024-04-04 09:05:00"));
        Reminders* reminders = installReminders(*f.window, m_screen);
        f.action("tscsh")->trigger();
        QCOMPARE(f.messages.texts(), {"初始化完成。此初始化仅会修改提示组数。不会对数据进行损坏"});
        f.grid().setRows(4);
        const QString record = "%1号楼,C30,M%1,2024-3-7 9:05,28,2024-04-04 09:05,标准养护,36,3,急";
        for (int row : {1, 2}) {
            const QStringList fields = record.arg(row).split(u',');
            for (int c = 0; c < fields.size(); ++c) f.grid().setTextMatrix(row, c + 1, fields[c]);
        }
        numberRows(f.grid());
        emit f.window->scanTick();
        const QList<ReminderPopup*> popups = reminders->popups().openPopups();
        QCOMPARE(popups.size(), 2);
        QCOMPARE(popups[0]->slotName() + popups[1]->slotName(), QStringLiteral("1|11|2"));
        QCOMPARE(itemTexts(popups[1]->list()).join(u','),
                 "编号:2,强度等级:C30,工程部位:2号楼,配合比编号:M2,制作日期:2024-3-7 9:05,龄期:28,"
                 "养护方式:标准养护,到期时间:2024-04-04 09:05,工程量:36,组数:3,备注:急");
        const QRect first = popups[0]->frameGeometry();
        QCOMPARE(first.bottomRight() + QPoint(1, 1), QPoint(1024, 728));
        QCOMPARE(popups[1]->frameGeometry().topLeft(), first.topLeft() - QPoint(0, first.height()));
        // The fade ends on a visible window.
        int ticks = 0;
        for (; popups[0]->fadeTimer()->isActive() && ticks < 1000; ++ticks)
            popups[0]->Timer1_Timer();
        QCOMPARE(ticks, 129);
        QCOMPARE(qRound(popups[0]->windowHandle()->opacity() * 255), 254);

        QByteArray expected = readRaw(ini(f));
        const QByteArray busy = g("是否显示=1");
        expected.replace(expected.indexOf(busy), busy.size(), g("是否显示=0"));
        popups[0]->close();
        QCOMPARE(readRaw(ini(f)), expected);
        f.window->exitProgram();
        QCOMPARE(flag(ini(f), "1|2"), "0");
    }

    void killAndRestart() {
        WindowFixture f({recordLine("甲", "2024-04-04 09:00"), recordLine("乙", "2024-04-04 09:03"),
                         recordLine("丙", "2024-04-04 12:00")});
        QCOMPARE(describe(*start(f, "2024-04-04 09:00:10")), QStringList{"1|1 甲"});
        f.window.reset();  // killed: no exit steps, the slot stays busy
        QCOMPARE(flag(ini(f), "1|1"), "1");

        Reminders* second = start(f, "2024-04-04 09:05:30");
        QCOMPARE(f.column(11), (QStringList{"到期", "到期", "", ""}));
        QCOMPARE(f.grid().cellForeColor(1, 1), RecordGrid::kYellow);
        // 乙 fell due while the program was away: announced at once, in the freed slot.
        QCOMPARE(describe(*second), QStringList{"1|1 乙 补发"});
        QVERIFY(f.messages.messages().isEmpty());
    }

    void dayChange_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("stoppedByUser");
        QTest::addColumn<QString>("wake");
        QTest::addColumn<QStringList>("popups");
        const QStringList both = {recordLine("旧", "2024-04-04 23:50"),
                                  recordLine("新", "2024-04-05 00:00")};
        // clang-format off
        QTest::newRow("midnight: the new day's record, old pop-ups stay") << both << "23:50:30"
            << false << "2024-04-05 00:00:01" << QStringList{"1|1 旧", "1|2 新"};
        QTest::newRow("停止提醒 ends with its day") << both << "23:40:00" << true
            << "2024-04-05 00:00:01" << QStringList{"1|1 新"};
        QTest::newRow("asleep over midnight: the old day's row first") << both << "23:40:00"
            << false << "2024-04-05 08:00:00" << QStringList{"1|1 旧 补发", "1|2 新 补发"};
        QTest::newRow("a new day with nothing due stops the scan") << both.mid(0, 1) << "23:50:30"
            << false << "2024-04-05 00:00:01" << QStringList{"1|1 旧"};
        // clang-format on
    }
    void dayChange() {
        QFETCH(QStringList, lines);
        QFETCH(QString, start);
        QFETCH(bool, stoppedByUser);
        QFETCH(QString, wake);
        QFETCH(QStringList, popups);
        WindowFixture f(lines);
        Reminders* reminders = this->start(f, "2024-04-04 " + start);
        if (stoppedByUser) stopByUser(f);
        f.clock.set(at(wake.toLatin1().constData()));
        reminders->checkDay();
        QCoreApplication::processEvents();
        QCOMPARE(describe(*reminders), popups);
        const bool scanning = lines.size() > 1;
        QCOMPARE(f.window->scanTimer()->isActive(), scanning);
        QCOMPARE(f.action("bg")->isEnabled(), scanning);
        QCOMPARE(f.action("kq")->isEnabled(), !scanning);
        QCOMPARE(f.column(1), (scanning ? QStringList{"新", ""} : QStringList{""}));
    }

    // The loader reads the cheap clock, which may lag the precise one by a few milliseconds:
    // the day check goes by the clock the loader reads, so the list it asks for is the new day's.
    void dayCheckReadsTheLoadersClock() {
        struct LaggingClock : FixedClock {
            QDateTime now() const override { return FixedClock::now().addMSecs(30); }
        } clock;
        WindowFixture f(
            {recordLine("旧", "2024-04-04 23:59"), recordLine("新", "2024-04-05 00:00")});
        clock.set(at("2024-04-04 23:59:30"));
        Reminders* reminders = start(f, "2024-04-04 23:59:30", &clock);
        for (const QDateTime& t : {at("2024-04-04 23:59:59").addMSecs(980),  // now() past midnight
                                   at("2024-04-05 00:00:00").addMSecs(10)}) {
            clock.set(t);
            reminders->checkDay();
            QCoreApplication::processEvents();
            QCOMPARE(f.column(1), QStringList({t.date().day() == 4 ? "旧" : "新", ""}));
        }
        QCOMPARE(describe(*reminders), (QStringList{"1|1 旧", "1|2 新"}));
    }

    void recordAdded_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("stoppedByUser");
        QTest::addColumn<QString>("due");
        QTest::addColumn<QStringList>("list");    // project parts of today's list
        QTest::addColumn<QStringList>("popups");  // at 09:07
        // clang-format off
        QTest::newRow("empty list: the scan starts") << QStringList{} << false << "2024-04-04 09:07"
            << QStringList{"新", ""} << QStringList{"1|1 新"};
        QTest::newRow("reminders stopped by the user stay stopped")
            << QStringList{recordLine("甲", "2024-04-04 10:00")} << true << "2024-04-04 09:07"
            << QStringList{"甲", "新", ""} << QStringList{};
        QTest::newRow("due tomorrow: not in today's list") << QStringList{} << false
            << "2024-04-05 09:07" << QStringList{""} << QStringList{};
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
        if (stoppedByUser) stopByUser(f);
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
        QTest::addColumn<bool>("ends");
        const QStringList pending = {recordLine("甲"), recordLine("乙", "2024-04-04 10:00"),
                                     recordLine("丙", "2024-04-04 11:00")};
        // clang-format off
        QTest::newRow("nothing pending: no question") << pending.mid(0, 1) << true << false << true;
        QTest::newRow("close box, 否 keeps running") << pending << true << false << false;
        QTest::newRow("close box, 是 ends") << pending << true << true << true;
        QTest::newRow("退出, 否 keeps running") << pending << false << false << false;
        // clang-format on
    }
    void exitQuestion() {
        QFETCH(QStringList, lines);
        QFETCH(bool, closeBox);
        QFETCH(bool, answer);
        QFETCH(bool, ends);
        WindowFixture f(lines);
        start(f, "2024-04-04 09:05:30");  // 甲 is announced
        f.messages.setAnswer(answer);
        if (closeBox)
            QCOMPARE(f.window->close(), ends);
        else
            f.action("end")->trigger();
        const QString asked =
            "今日还有 2 条记录尚未提醒。程序退出后不会提醒这些记录。\n确定要退出吗？";
        QCOMPARE(f.messages.texts(), lines.size() > 1 ? QStringList{asked} : QStringList{});
        QCOMPARE(flag(ini(f), "1|1"), ends ? "0" : "1");  // the end frees the open pop-up's slot
    }
};

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
