// The reminders wired into the main window, on a fake clock and screen: which rows are announced
// when the clock moves on, sleeps, crosses midnight or goes back; what a kill and a restart
// remember; the day change; records added in the editor; a full slot table and failed writes; the
// question before the end; the pop-ups and the slots they free.

#include <QListWidget>
#include <QWindow>

#include "mainwindow/reminderswitch.h"
#include "mainwindow/windowfixture.h"
#include "platform/screenmetrics.h"
#include "reminders/reminderfiles.h"
#include "reminders/reminderpopup.h"
#include "reminders/reminderpopupfactory.h"
#include "reminders/reminders.h"
#include "reminders/slottable.h"

using namespace reminderfiles;
using L = QStringList;

namespace {

QtMessageHandler g_next = nullptr;  // passes on all but the offscreen platform's complaints
void quiet(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support")))
        g_next(type, context, text);
}

L itemTexts(const QListWidget* list) {
    L texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

// The lines of a.bz for records "part|due time", the due time on 2024-04-04 unless it has a date.
L dataLines(const L& records) {
    L lines;
    for (const QString& r : records)
        lines << recordLine(r.section(u'|', 0, 0),
                            (r.contains(u'-') ? "" : "2024-04-04 ") + r.section(u'|', 1));
    return lines;
}

// The precise clock, which the loader reads, may run ahead of the cheap one the scan reads.
struct LaggingClock : FixedClock {
    qint64 aheadMs = 0;
    QDateTime now() const override { return FixedClock::now().addMSecs(aheadMs); }
};

}  // namespace

class TestReminders : public QObject {
    Q_OBJECT
    FixedScreenMetrics m_screen{1024, 768, 728};  // a 40-pixel taskbar at the bottom
    LaggingClock m_clock;
    Reminders* m_reminders = nullptr;

    // Builds and starts the window with its reminders, then lets the tick that follows a load run.
    void start(WindowFixture& f) {
        f.window = std::make_unique<MainWindow>(AppPaths(f.dir.path()), m_clock, f.messages);
        new ReminderSwitch(*f.window);
        m_reminders = installReminders(*f.window, m_screen);
        f.start();
        QCoreApplication::processEvents();
    }
    void setClock(const QString& time) {  // on 2024-04-04 unless given a date
        m_clock.set(at(qPrintable(time.contains(u'-') ? time : "2024-04-04 " + time)));
    }
    // The open pop-ups as "slot part", with the late note of a late one.
    L popups() {
        L seen;
        for (ReminderPopup* popup : m_reminders->popups().openPopups()) {
            const L lines = itemTexts(popup->list());
            const bool late = lines[0].startsWith(QStringLiteral("补发"));
            seen << popup->slotName() + u' ' + lines[late ? 3 : 2].mid(5) +
                        (late ? u' ' + lines[0] : QString());
        }
        return seen;
    }

  private slots:
    void initTestCase() { g_next = qInstallMessageHandler(quiet); }
    void init() { m_clock.aheadMs = 0; }

    // Steps: "start T" starts the program at T; "tick T" is a scan tick at T; "wake T" sets the
    // clock to T and checks the day; "kill" ends the program without its exit steps; "write
    // RECORDS" replaces a.bz; "add RECORD" saves a record in the editor; "change OLD NEW" corrects
    // one there; "stop" is 停止提醒;
    // "ahead" puts the precise clock a second ahead; "lose state", "damage state" and "folder
    // FILE" spoil a file; "full table" makes every slot busy and "free SLOT" closes a pop-up;
    // "init" is 提示初始化; "state" logs the announced records; "no" answers no; "close" is the
    // close box and "end" is 退出. Afterwards: the pop-ups, today's list (* for a row marked 到期),
    // the busy slots, the log of messages (their first six characters, "notice" for one that takes
    // no focus, and whether the close box closed) and whether the scan runs.
    void reminders_data() {
        QTest::addColumn<L>("records");
        QTest::addColumn<L>("steps");
        QTest::addColumn<L>("popups");
        QTest::addColumn<L>("list");
        QTest::addColumn<L>("busy");
        QTest::addColumn<L>("log");
        QTest::addColumn<bool>("scanning");
        const L one = {"柱|09:05"}, late = {"1|1 柱 补发：原定 09:05 到期"};
        const L days = {"旧|2024-04-04 23:50", "新|2024-04-05 00:00"};
        const L exit = {"柱|09:05", "梁|10:00", "板|11:00"}, exitList = {"柱*", "梁", "板", ""};
        const L added = {"start 09:05:30", "add 新|09:07", "tick 09:07:00"};
        const QString midnight = "wake 2024-04-05 00:00:01", asked = "今日还有 2";
        // clang-format off
        QTest::newRow("in its minute, once") << L{"柱|09:05", "梁|09:06"}
            << L{"start 09:05:00", "tick 09:05:59"} << L{"1|1 柱"} << L{"柱*", "梁", ""} << L{"1|1"}
            << L{} << true;
        QTest::newRow("not before its minute") << one << L{"start 09:04:59"} << L{} << L{"柱", ""}
            << L{} << L{} << true;
        QTest::newRow("asleep over its minute: late") << one << L{"start 09:04:55", "tick 09:12:03"}
            << late << L{"柱*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("clock back: no second announcement") << one
            << L{"start 09:05:10", "tick 08:50:00", "tick 09:05:20", "tick 09:07:00"} << L{"1|1 柱"}
            << L{"柱*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("across midnight: late, with its date") << L{"柱|23:59"}
            << L{"start 23:58:58", "tick 2024-04-05 00:00:03"}
            << L{"1|1 柱 补发：原定 2024-04-04 23:59 到期"} << L{"柱*", ""} << L{"1|1"} << L{}
            << true;
        QTest::newRow("same minute: grid order, stacked") << L{"柱|09:05", "板|10:00", "梁|09:05"}
            << L{"start 09:05:30"} << L{"1|1 柱", "1|2 梁"} << L{"柱*", "板", "梁*", ""}
            << L{"1|1", "1|2"} << L{} << true;
        QTest::newRow("hand-edited time without a zero") << L{"柱|2024-04-04  9:05 "}
            << L{"start 09:05:00"} << L{"1|1 柱"} << L{"柱*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("date alone or impossible time: never")
            << L{"柱|2024-04-04", "梁|24:00", "墙|0x:00"} << L{"start 23:59:59"} << L{}
            << L{"柱", "梁", "墙", ""} << L{} << L{} << true;
        QTest::newRow("killed: marks back, no second pop-up") << L{"柱|09:05", "梁|09:30"}
            << L{"start 09:05:30", "kill", "start 09:10:00", "tick 09:30:00"} << L{"1|1 梁"}
            << L{"柱*", "梁*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("due while closed: late at once") << one
            << L{"start 09:05:30", "kill", "write 柱|09:05 梁|09:07", "start 09:10:00"}
            << L{"1|1 梁 补发：原定 09:07 到期"} << L{"柱*", "梁*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("identical twin added: one mark") << one
            << L{"start 09:05:30", "kill", "write 柱|09:05 柱|09:05", "start 09:10:00"}
            << late << L{"柱*", "柱*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("due time moved: a new record") << one
            << L{"start 09:05:30", "kill", "write 柱|09:30", "start 09:10:00", "tick 09:30:00"}
            << L{"1|1 柱"} << L{"柱*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("state lost: announced again") << one
            << L{"start 09:05:30", "kill", "lose state", "start 09:10:00"} << late << L{"柱*", ""}
            << L{"1|1"} << L{} << true;
        QTest::newRow("state damaged: ignored") << one
            << L{"start 09:05:30", "kill", "damage state", "start 09:10:00"} << late << L{"柱*", ""}
            << L{"1|1"} << L{} << true;
        QTest::newRow("midnight: the new day's list, old pop-ups stay, old state gone") << days
            << L{"start 23:50:30", midnight, "state"} << L{"1|1 旧", "1|2 新"} << L{"新*", ""}
            << L{"1|1", "1|2"} << L{"state 新"} << true;
        QTest::newRow("停止提醒 ends with its day") << days << L{"start 23:40:00", "stop", midnight}
            << L{"1|1 新"} << L{"新*", ""} << L{"1|1"} << L{"已经关闭"} << true;
        QTest::newRow("asleep over midnight: the old day's row first") << days
            << L{"start 23:40:00", "wake 2024-04-05 08:00:00"}
            << L{"1|1 旧 补发：原定 2024-04-04 23:50 到期", "1|2 新 补发：原定 00:00 到期"}
            << L{"新*", ""} << L{"1|1", "1|2"} << L{} << true;
        QTest::newRow("a new day with nothing due stops the scan") << days.mid(0, 1)
            << L{"start 23:50:30", midnight} << L{"1|1 旧"} << L{""} << L{"1|1"} << L{} << false;
        QTest::newRow("precise clock ahead: the day changes by the scan's clock")
            << L{"旧|23:59", "新|2024-04-05 00:00"}
            << L{"ahead", "start 23:59:30", "wake 23:59:59", "wake 2024-04-05 00:00:00"}
            << L{"1|1 旧", "1|2 新"} << L{"新*", ""} << L{"1|1", "1|2"} << L{} << true;
        QTest::newRow("added to an empty list: the scan starts") << L{} << added << L{"1|1 新"}
            << L{"新*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("added after 停止提醒: stays stopped") << L{"甲|10:00"}
            << L{"start 09:05:30", "stop", "add 新|09:07", "tick 09:07:00"} << L{}
            << L{"甲", "新", ""} << L{} << L{"已经关闭"} << false;
        QTest::newRow("added, due tomorrow: not in today's list") << L{}
            << L{"start 09:05:30", "add 新|2024-04-05 09:07", "tick 09:07:00"} << L{} << L{""}
            << L{} << L{} << false;
        QTest::newRow("every slot busy: a notice a tick, rows tried again")
            << L{"柱|09:05", "梁|09:05"} << L{"start 09:00:00", "full table", "tick 09:05:10",
                                              "tick 09:05:15", "free 2|2", "tick 09:07:00"}
            << L{"2|2 柱 补发：原定 09:05 到期"} << L{"柱*", "梁", ""} << L{"1|1", "2|2"}
            << L(3, "notice 提示位置已全") << true;
        QTest::newRow("state not saved: told, announced") << one
            << L{"folder announced.txt", "start 09:05:00"} << L{"1|1 柱"} << L{"柱*", ""}
            << L{"1|1"} << L{"notice 无法保存已提"} << true;
        QTest::newRow("提示初始化 failed: told") << one
            << L{"start 09:00:00", "folder ts.ini", "init"} << L{} << L{"柱", ""} << L{}
            << L{"提示初始化失"} << true;
        QTest::newRow("exit, nothing pending: no question") << one << L{"start 09:05:30", "close"}
            << L{"1|1 柱"} << L{"柱*", ""} << L{} << L{"closed"} << true;
        QTest::newRow("close box, 否: keeps running") << exit << L{"start 09:05:30", "no", "close"}
            << L{"1|1 柱"} << exitList << L{"1|1"} << L{asked, "kept"} << true;
        QTest::newRow("corrected but for its due time: not again") << one
            << L{"start 09:05:30", "change 柱|09:05 柱子|09:05", "tick 09:06:00"} << L{"1|1 柱"}
            << L{"柱子*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("due time corrected: a new reminder") << one
            << L{"start 09:05:30", "change 柱|09:05 柱|09:07", "tick 09:06:00", "tick 09:07:00"}
            << L{"1|1 柱", "1|2 柱"} << L{"柱*", ""} << L{"1|1", "1|2"} << L{} << true;
        QTest::newRow("close box, 是: ends") << exit << L{"start 09:05:30", "close"} << L{"1|1 柱"}
            << exitList << L{} << L{asked, "closed"} << true;
        QTest::newRow("退出, 否: keeps running") << exit << L{"start 09:05:30", "no", "end"}
            << L{"1|1 柱"} << exitList << L{"1|1"} << L{asked} << true;
        // clang-format on
    }
    void reminders() {
        QFETCH(L, records);
        QFETCH(L, steps);
        QFETCH(L, popups);
        QFETCH(L, list);
        QFETCH(L, busy);
        QFETCH(L, log);
        QFETCH(bool, scanning);
        WindowFixture f(dataLines(records));
        const QString ini = f.dir.filePath("ts.ini"), state = f.dir.filePath("announced.txt");
        const QByteArray damaged = "\xff\x01\t\r\n2024-04-04 09:05\tXYZ\tx\r\n";
        L seen;
        for (const QString& step : steps) {
            const QString verb = step.section(u' ', 0, 0), arg = step.section(u' ', 1);
            if (verb == "start" || verb == "tick" || verb == "wake") setClock(arg);
            if (verb == "start") {
                start(f);
            } else if (verb == "tick" && f.window->scanTimer()->isActive()) {
                emit f.window->scanTick();
            } else if (verb == "wake") {
                m_reminders->checkDay();
            } else if (verb == "kill") {
                f.window.reset();
            } else if (verb == "write") {
                f.write(dataLines(arg.split(u' ')));
            } else if (verb == "add") {
                f.window->noteRecordAdded(dataLines({arg})[0].split(u','));
            } else if (verb == "change") {  // the editor corrects record OLD into NEW
                const L change = dataLines(arg.split(u' '));
                L lines = dataLines(records);
                lines.replace(lines.indexOf(change[0]), change[1]);
                f.write(lines);
                f.window->noteRecordsChanged({change[0].split(u',')}, {change[1].split(u',')});
            } else if (verb == "stop") {
                f.action("bg")->trigger();
            } else if (verb == "ahead") {
                m_clock.aheadMs = 1000;
            } else if (step.endsWith(" state")) {
                QVERIFY(writeRaw(state, verb == "lose" ? QByteArray() : damaged));
            } else if (verb == "folder") {
                QVERIFY(QDir().mkpath(f.dir.filePath(arg)));
            } else if (verb == "full") {
                QVERIFY(writeRaw(ini, g("[1|1]\r\n是否显示=1\r\n[2|2]\r\n是否显示=1\r\n")));
            } else if (verb == "free") {
                QVERIFY(SlotTable(ini).release({arg}));
            } else if (verb == "init") {
                f.action("tscsh")->trigger();
            } else if (verb == "state") {  // the parts of the announced records
                for (const QString& line : gbk::decode(readRaw(state)).split("\r\n").filter("\t"))
                    seen << "state " + line.section(u'\t', -1).section(u',', 0, 0);
            } else if (verb == "no") {
                f.messages.setAnswer(false);
            } else if (verb == "end") {
                f.action("end")->trigger();
            }
            const bool closed = verb == "close" && f.window->close();
            QCoreApplication::processEvents();
            for (const auto& m : f.messages.messages())
                seen << (m.notice ? "notice " : "") + m.text.left(6);
            f.messages.clear();
            if (verb == "close") seen << (closed ? "closed" : "kept");
        }
        QCOMPARE(this->popups(), popups);
        L parts;
        for (int r = 1; r < f.grid().rows(); ++r) {
            const bool marked = f.grid().textMatrix(r, 11) == "到期";
            parts << f.grid().textMatrix(r, 1) + (marked ? "*" : "");
            for (int c = 0; c < f.grid().cols(); ++c) {  // yellow on the highlight from column 1
                QCOMPARE(f.grid().cellForeColor(r, c) == RecordGrid::kYellow, marked && c);
                QCOMPARE(f.grid().cellBackColor(r, c) == RecordGrid::kHighlight, marked && c);
            }
        }
        QCOMPARE(parts, list);
        L busyNow;
        for (const QString& slot : SlotTable::slotNames(3))
            if (flag(ini, qPrintable(slot)) == "1") busyNow << slot;
        QCOMPARE(busyNow, busy);
        QCOMPARE(seen, log);
        QCOMPARE(f.window->scanTimer()->isActive(), scanning);
        QCOMPARE(f.action("bg")->isEnabled(), scanning);
        QCOMPARE(f.action("kq")->isEnabled(), !scanning);
    }

    // Two rows due in the same minute: two pop-ups, the second one window height above the first;
    // the fade ends on a visible window; a pop-up's closing frees its own slot and changes no
    // other byte; the end frees the rest.
    void popupsAndTheirSlots() {
        const QString record = "%1号楼,C30,M%1,2024-3-7 9:05,28,2024-04-04 09:05,标准养护,36,3,急,";
        WindowFixture f({record.arg(1), record.arg(2)});
        setClock("09:05:00");
        start(f);
        const QList<ReminderPopup*> popups = m_reminders->popups().openPopups();
        QCOMPARE(this->popups(), (L{"1|1 1号楼", "1|2 2号楼"}));
        QCOMPARE(itemTexts(popups[1]->list()).join(u','),
                 "编号:2,强度等级:C30,工程部位:2号楼,配合比编号:M2,制作日期:2024-3-7 9:05,龄期:28,"
                 "养护方式:标准养护,到期时间:2024-04-04 09:05,工程量:36,组数:3,备注:急");
        const QRect first = popups[0]->frameGeometry();
        QCOMPARE(first.bottomRight() + QPoint(1, 1), QPoint(1024, 728));
        QCOMPARE(popups[1]->frameGeometry().topLeft(), first.topLeft() - QPoint(0, first.height()));
        for (int ticks = 0; popups[0]->fadeTimer()->isActive() && ticks < 1000; ++ticks)
            popups[0]->Timer1_Timer();
        QVERIFY(!popups[0]->fadeTimer()->isActive());
        QCOMPARE(qRound(popups[0]->windowHandle()->opacity() * 255), 254);

        const QString ini = f.dir.filePath("ts.ini");
        QByteArray expected = readRaw(ini);
        const QByteArray busy = g("是否显示=1");
        expected.replace(expected.indexOf(busy), busy.size(), g("是否显示=0"));
        popups[0]->close();
        QCOMPARE(readRaw(ini), expected);
        f.window->exitProgram();
        QCOMPARE(flag(ini, "1|2"), "0");
    }
};

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
