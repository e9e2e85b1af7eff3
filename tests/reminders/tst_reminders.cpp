// The reminders wired into the main window, on a fake clock and screen: which rows are announced
// when the clock moves on, sleeps, crosses midnight or goes back; what a kill and a restart
// remember, and the days the program did not run; the day change; records added in the editor; a
// full slot table and failed writes; late rows in one list; the status line and the advance
// notice; the question before the end; the pop-ups, their gestures and the slots they free; how
// every form of a due-time text is listed, announced and saved.

#include <QLabel>
#include <QListWidget>
#include <QWindow>

#include "editor/addchecks.h"
#include "mainwindow/reminderswitch.h"
#include "mainwindow/windowfixture.h"
#include "platform/alertsound.h"
#include "platform/screenmetrics.h"
#include "records/recordloader.h"
#include "reminders/reminderengine.h"
#include "reminders/reminderfiles.h"
#include "reminders/reminderpopup.h"
#include "reminders/reminderpopupfactory.h"
#include "reminders/reminders.h"
#include "reminders/slottable.h"
#include "settings/programsettings.h"

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
    CountingAlertSound m_sound;
    Reminders* m_reminders = nullptr;
    QString m_interval;       // the scan interval setting
    bool m_autostart = true;  // whether the program starts at login
    L m_trayMessages;         // the advance notices, their first lines

    // Builds and starts the window with its reminders, then lets the tick that follows a load run.
    void start(WindowFixture& f) {
        f.window = std::make_unique<MainWindow>(AppPaths(f.dir.path()), m_clock, f.messages);
        f.window->setScanIntervalProvider([this] { return m_interval; });
        new ReminderSwitch(*f.window);
        m_reminders = installReminders(*f.window, m_screen, m_sound);
        m_reminders->setAutostartQuery([this] { return m_autostart; });
        m_reminders->setTrayMessenger([this](const QString&, const QString& text) {
            m_trayMessages << text.section(u'\n', 0, 0);
        });
        f.start();
        m_reminders->waitForStartUp();
        m_sound.played = 0;
        QCoreApplication::processEvents();
    }
    ReminderPopup* popupIn(const QString& slot) {
        for (ReminderPopup* popup : m_reminders->popups().openPopups())
            if (popup->slotName() == slot) return popup;
        return nullptr;
    }
    void setClock(const QString& time) {  // on 2024-04-04 unless given a date
        m_clock.set(at(qPrintable(time.contains(u'-') ? time : "2024-04-04 " + time)));
    }
    // The open pop-ups as "slot part", with the late note of a late one; a list of late rows as
    // "slot headline: part part ...".
    L popups() {
        L seen;
        for (ReminderPopup* popup : m_reminders->popups().openPopups()) {
            const L lines = itemTexts(popup->list());
            if (popup->headline()->text().startsWith(QStringLiteral("补发"))) {
                L parts;
                for (const QString& line : lines)
                    parts << line.section(u'：', 1).section(u' ', 0, 0);
                seen << popup->slotName() + u' ' + popup->headline()->text() + ": " +
                            parts.join(u' ');
                continue;
            }
            const bool late = lines[0].startsWith(QStringLiteral("补发"));
            seen << popup->slotName() + u' ' + lines[late ? 3 : 2].mid(5) +
                        (late ? u' ' + lines[0] : QString());
        }
        return seen;
    }

  private slots:
    void initTestCase() { g_next = qInstallMessageHandler(quiet); }
    void init() {
        m_clock.aheadMs = 0;
        m_interval = "5000";
        m_autostart = true;
        m_trayMessages.clear();
    }

    // Steps: "start T" starts the program at T; "tick T" is a scan tick at T; "wake T" sets the
    // clock to T and checks the day; "kill" ends the program without its exit steps; "write
    // RECORDS" replaces a.bz; "add RECORD" saves a record in the editor; "change OLD NEW" corrects
    // one there; "stop" is 停止提醒 and
    // "kq" 开启提醒; "interval MS", "advance MINUTES", "quiet" (no alert sound) and "autostart
    // off" change a setting; "ahead" puts the precise clock a second ahead; "lose state", "damage
    // state" and "folder FILE" spoil a file, "hide" makes a.bz unreadable until "unhide"; "old
    // state" writes the announced state as an earlier version did; "full table" makes every slot
    // busy and "free SLOT" closes a pop-up elsewhere; "click SLOT" and "esc SLOT" are a click and
    // Esc on a pop-up, "closeall" is 全部关闭; "init" is 提示初始化; "state" logs the announced
    // records, "status" the status line and "sound" the sounds played; "no" answers no; "close" is
    // the close box and "end" is 退出. Afterwards: the pop-ups, the list (* for a row marked 到期),
    // the busy slots, the log of messages (their first six characters, "notice" for one that takes
    // no focus, "tray" for an advance notice, and whether the close box closed) and whether the
    // scan runs.
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
        const QString midnight = "wake 2024-04-05 00:00:01", asked = "今日列表中还";
        // clang-format off
        QTest::newRow("in its minute, once") << L{"柱|09:05", "梁|09:06"}
            << L{"start 09:05:00", "tick 09:05:59"} << L{"1|1 柱"} << L{"柱*", "梁", ""} << L{"1|1"}
            << L{} << true;
        QTest::newRow("asleep over its minute: late") << one << L{"start 09:04:55", "tick 09:12:03"}
            << late << L{"柱*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("clock back: no second announcement") << one
            << L{"start 09:05:10", "tick 08:50:00", "tick 09:05:20", "tick 09:07:00"} << L{"1|1 柱"}
            << L{"柱*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("across midnight: late, with its date") << L{"柱|23:59"}
            << L{"start 23:58:58", "tick 2024-04-05 00:00:03"}
            << L{"1|1 柱 补发：原定 04-04 23:59 到期"} << L{"柱*", ""} << L{"1|1"} << L{}
            << true;
        QTest::newRow("same minute: grid order, stacked") << L{"柱|09:05", "板|10:00", "梁|09:05"}
            << L{"start 09:05:30"} << L{"1|1 柱", "1|2 梁"} << L{"柱*", "板", "梁*", ""}
            << L{"1|1", "1|2"} << L{} << true;
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
        QTest::newRow("state damaged: ignored") << one
            << L{"start 09:05:30", "kill", "damage state", "start 09:10:00"} << late << L{"柱*", ""}
            << L{"1|1"} << L{} << true;
        QTest::newRow("midnight: the new day's list, old pop-ups stay, state kept") << days
            << L{"start 23:50:30", midnight, "state"} << L{"1|1 旧", "1|2 新"} << L{"新*", ""}
            << L{"1|1", "1|2"} << L{"state 旧", "state 新"} << true;
        QTest::newRow("停止提醒 ends with its day") << days << L{"start 23:40:00", "stop", midnight}
            << L{"1|1 新"} << L{"新*", ""} << L{"1|1"} << L{"已经关闭"} << true;
        QTest::newRow("asleep over midnight: the old day's row first") << days
            << L{"start 23:40:00", "wake 2024-04-05 08:00:00"}
            << L{"1|1 旧 补发：原定 04-04 23:50 到期", "1|2 新 补发：原定 00:00 到期"}
            << L{"新*", ""} << L{"1|1", "1|2"} << L{} << true;
        QTest::newRow("asleep two days: the day between caught up")
            << L{"旧|23:50", "中|2024-04-05 12:00", "新|2024-04-06 08:00"}
            << L{"start 23:40:00", "wake 2024-04-06 09:00:00"}
            << L{"1|1 旧 补发：原定 04-04 23:50 到期", "1|2 新 补发：原定 08:00 到期",
                 "1|3 中 补发：原定 04-05 12:00 到期"}
            << L{"新*", "中*", ""} << L{"1|1", "1|2", "1|3"} << L{} << true;
        QTest::newRow("a new day with nothing due stops the scan") << days.mid(0, 1)
            << L{"start 23:50:30", midnight} << L{"1|1 旧"} << L{""} << L{"1|1"} << L{} << false;
        QTest::newRow("precise clock ahead: the day changes by the scan's clock")
            << L{"旧|23:59", "新|2024-04-05 00:00"}
            << L{"ahead", "start 23:59:30", "wake 23:59:59", "wake 2024-04-05 00:00:00"}
            << L{"1|1 旧", "1|2 新"} << L{"新*", ""} << L{"1|1", "1|2"} << L{} << true;
        QTest::newRow("added after 停止提醒: stays stopped") << L{"甲|10:00"}
            << L{"start 09:05:30", "stop", "add 新|09:07", "tick 09:07:00"} << L{}
            << L{"甲", "新", ""} << L{} << L{"已经关闭"} << false;
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
        QTest::newRow("close box, no autostart: the coming days named")
            << L{"柱|2024-04-06 09:05", "梁|2024-04-12 09:05"}
            << L{"autostart off", "start 10:00:00", "no", "close"} << L{} << L{""} << L{}
            << L{"今后 7 天", "kept"} << false;
        QTest::newRow("close box, autostart on: nothing to ask") << L{"柱|2024-04-06 09:05"}
            << L{"start 10:00:00", "close"} << L{} << L{""} << L{} << L{"closed"} << false;
        QTest::newRow("退出, no autostart: nothing to ask") << L{"柱|2024-04-06 09:05"}
            << L{"autostart off", "start 10:00:00", "end"} << L{} << L{""} << L{} << L{} << false;

        // Nothing dropped at midnight: rows that wait for a slot stay, after the new day's.
        QTest::newRow("full slots at midnight: the old row stays, late with its date") << days
            << L{"start 23:40:00", "full table", midnight, "no", "close", "free 2|2",
                 "tick 2024-04-05 00:01:30", "free 1|1", "tick 2024-04-05 00:01:35"}
            << L{"2|2 新 补发：原定 00:00 到期", "1|1 旧 补发：原定 04-04 23:50 到期"}
            << L{"新*", "旧*", ""} << L{"1|1", "2|2"}
            << L{"notice 提示位置已全", "notice 提示位置已全", "今日列表中还", "kept",
                 "notice 提示位置已全"} << true;
        QTest::newRow("interval 0 at midnight: the switch stays off, the old row stays") << days
            << L{"interval 0", "start 23:40:00", midnight, "status"} << L{} << L{"新", "旧", ""}
            << L{} << L{"status red 提醒已停止 · 今日 1 批 · 已到 0 · 待补发 2 批"} << false;
        QTest::newRow("clock a day ahead and back: nothing again") << one
            << L{"start 09:05:30", "wake 2024-04-05 09:06:00", "wake 2024-04-04 09:06:30"}
            << L{"1|1 柱"} << L{"柱*", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("state of an earlier version: read") << one
            << L{"old state", "start 09:10:00"} << L{} << L{"柱*", ""} << L{} << L{} << true;

        // The days the program did not run: records due after its last scan, up to 7 days back.
        const L off = {"甲|2024-04-02 11:00", "乙|2024-04-02 15:00", "丙|2024-04-03 10:00",
                       "丁|09:00", "戊|10:00"};
        QTest::newRow("days off, a.bz unreadable at a start: caught up late at the next, after "
                      "today's rows") << off
            << L{"start 2024-04-02 12:00:00", "kill", "hide", "start 09:30:00", "kill", "unhide",
                 "start 09:40:00"}
            << L{"1|1 丁 补发：原定 09:00 到期", "1|2 乙 补发：原定 04-02 15:00 到期",
                 "1|3 丙 补发：原定 04-03 10:00 到期"}
            << L{"丁*", "戊", "乙*", "丙*", ""} << L{"1|1", "1|2", "1|3"} << L{"无法读取数据"}
            << true;
        QTest::newRow("days off without a last scan: today only") << off
            << L{"start 2024-04-02 12:00:00", "kill", "lose state", "start 09:30:00"}
            << L{"1|1 丁 补发：原定 09:00 到期"} << L{"丁*", "戊", ""} << L{"1|1"} << L{} << true;
        QTest::newRow("days off: no more than 7 days back, nor kept longer")
            << L{"旧|2024-03-26 11:00", "外|2024-03-27 23:59", "界|2024-03-28 00:00",
                 "近|2024-04-03 23:59"}
            << L{"start 2024-03-26 12:00:00", "kill", "start 09:30:00", "state"}
            << L{"1|1 界 补发：原定 03-28 00:00 到期", "1|2 近 补发：原定 04-03 23:59 到期"}
            << L{"界*", "近*", ""} << L{"1|1", "1|2"} << L{"state 界", "state 近"} << true;
        QTest::newRow("days off, 4 late rows: one list in one slot, one sound") << off + L{"己|08:00"}
            << L{"start 2024-04-02 12:00:00", "kill", "start 10:00:10", "sound", "state"}
            << L{"1|1 补发：以下 4 批已到期: 丁 己 乙 丙", "1|2 戊"}
            << L{"丁*", "戊*", "己*", "乙*", "丙*", ""} << L{"1|1", "1|2"}
            << L{"sound 1", "state 甲", "state 丁", "state 己", "state 乙", "state 丙", "state 戊"}
            << true;

        QTest::newRow("alert sound switched off: none") << one
            << L{"quiet", "start 09:05:00", "sound"} << L{"1|1 柱"} << L{"柱*", ""} << L{"1|1"}
            << L{"sound 0"} << true;

        // Gestures on pop-ups.
        QTest::newRow("Esc closes a pop-up once clicked") << L{"柱|09:05", "梁|09:05"}
            << L{"start 09:05:30", "esc 1|2", "click 1|1", "esc 1|1"} << L{"1|2 梁"}
            << L{"柱*", "梁*", ""} << L{"1|2"} << L{} << true;
        QTest::newRow("全部关闭 frees the slots; the waiting row follows") << L{"柱|09:05", "梁|09:06"}
            << L{"start 09:05:10", "full table", "tick 09:06:10", "closeall"}
            << L{"1|1 梁"} << L{"柱*", "梁*", ""} << L{"1|1", "2|2"}
            << L{"notice 提示位置已全"} << true;

        // The status line and the advance notice.
        const L day = {"柱|09:05", "梁|09:15", "板|14:12", "墙|2024-04-04"};
        QTest::newRow("status: 停止提醒, then a refused 开启提醒") << day
            << L{"start 09:05:30", "stop", "status", "interval abc", "kq", "status"} << L{"1|1 柱"}
            << L{"柱*", "梁", "板", "墙", ""} << L{"1|1"}
            << L{"已经关闭", "status red 提醒已停止 · 今日 4 批 · 已到 1 · 下一批 09:15", "开启失败",
                 "status red 提醒已停止 · 今日 4 批 · 已到 1 · 下一批 09:15"} << false;
        QTest::newRow("status: nothing due, stopped, not red") << L{}
            << L{"start 09:05:30", "status"} << L{} << L{""} << L{} << L{"status 今日 0 批 · 已到 0"}
            << false;
        QTest::newRow("advance notice: a tray message once, no slot, then on time") << day
            << L{"advance 10", "start 09:00:00", "tick 09:05:00", "status", "tick 09:06:00",
                 "tick 09:15:00"}
            << L{"1|1 柱", "1|2 梁"} << L{"柱*", "梁*", "板", "墙", ""} << L{"1|1", "1|2"}
            << L{"tray 2024-04-04 09:05 到期：柱  C30  2组", "tray 2024-04-04 09:15 到期：梁  C30  2组",
                 "status 今日 4 批 · 已到 1 · 下一批 09:15 · 即将到期 1 批（09:15）"} << true;
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
        const auto record = [&](int i) { return dataLines(records)[i].section(u',', 0, 9); };
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
            } else if (verb == "lose" || verb == "damage") {
                QVERIFY(writeRaw(state, verb == "lose" ? QByteArray() : damaged));
            } else if (verb.endsWith("hide")) {  // a.bz a folder for a while, its records aside
                const QString path = f.dataPath(), aside = path + ".aside";
                QVERIFY(verb == "hide" ? QDir().rename(path, aside) && QDir().mkdir(path)
                                       : QDir().rmdir(path) && QDir().rename(aside, path));
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
                    if (!line.startsWith("已检查至"))
                        seen << "state " + line.section(u'\t', -1).section(u',', 0, 0);
            } else if (verb == "no") {
                f.messages.setAnswer(false);
            } else if (verb == "end" || verb == "kq") {
                f.action(qPrintable(verb))->trigger();
            } else if (verb == "old") {
                QVERIFY(writeRaw(state, g("# 旧版\r\n2024-04-04 09:05\t") +
                                            AnnouncedState::identityOf(record(0)).toLatin1() +
                                            "\tx\r\n"));
            } else if (verb == "interval") {
                m_interval = arg;
            } else if (verb == "autostart") {
                m_autostart = false;
            } else if (verb == "advance" || verb == "quiet") {
                ProgramSettings kept(f.dir.filePath("mirosta.ini"));
                verb == "quiet" ? kept.setAlertSound(false) : kept.setAdvanceMinutes(arg.toInt());
                if (f.window) f.window->noteSettingsChanged();
            } else if (verb == "click") {
                QTest::mouseClick(popupIn(arg)->list()->viewport(), Qt::LeftButton);
            } else if (verb == "esc") {
                QTest::keyClick(popupIn(arg), Qt::Key_Escape);
            } else if (verb == "closeall") {
                f.action("qbgb")->trigger();
            } else if (verb == "status") {
                const QLabel* line = m_reminders->statusLine();
                seen << "status " + QString(line->styleSheet().contains("red") ? "red " : "") +
                            line->text();
            } else if (verb == "sound") {
                seen << "sound " + QString::number(m_sound.played);
            }
            const bool closed = verb == "close" && f.window->close();
            QCoreApplication::processEvents();
            for (const auto& m : f.messages.messages())
                seen << (m.notice ? "notice " : "") + m.text.left(6);
            f.messages.clear();
            for (const QString& text : std::exchange(m_trayMessages, {})) seen << "tray " + text;
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

    // Two rows due in the same minute: two pop-ups, each headed by its batch; the fade ends on a
    // visible window; 编号 follows the row when the row above leaves the list; a pop-up's closing
    // frees its own slot and changes no other byte.
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
        QCOMPARE(popups[1]->headline()->text(), "2号楼  C30  3组");
        f.grid().removeItem(1);
        numberRows(f.grid());
        QCoreApplication::processEvents();
        QCOMPARE(itemTexts(popups[0]->list())[0], "编号:—");
        QCOMPARE(itemTexts(popups[1]->list())[0], "编号:1");
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
    }

    // Every form of a due-time text on 2024-04-04, read the same way by today's list, the scan and
    // the editor: whether the list takes it, the minute the scan announces it in (not a minute
    // before, and not as late; empty: never) and what 添加 saves ("?": it asks first).
    void dueTimeForms_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QString>("fires");
        QTest::addColumn<QString>("saved");
        const QString canonical = "2024-04-04 09:05";
        // clang-format off
        QTest::newRow("the editor's form") << canonical << true << "09:05" << canonical;
        QTest::newRow("hour without its zero") << "2024-04-04 9:05" << true << "09:05" << canonical;
        QTest::newRow("minute without its zero, a blank after") << "2024-04-04 19:5 " << true
            << "19:05" << "2024-04-04 19:05";
        QTest::newRow("a tab after") << "2024-04-04 09:3\t" << true << "09:03" << "2024-04-04 09:03";
        QTest::newRow("blanks before and between") << "  2024-04-04   9:05" << true << "09:05"
            << canonical;
        QTest::newRow("a full-width blank between") << "2024-04-04\u30009:05" << true << "09:05"
            << canonical;
        // Never read in a.bz, but the editor saves it zero-filled.
        QTest::newRow("one-digit day") << "2024-04-4 09:05" << false << "" << canonical;
        QTest::newRow("one-digit month") << "2024-4-04 9:5" << false << "" << canonical;
        QTest::newRow("date alone") << "2024-04-04" << true << "" << "?";
        QTest::newRow("hour 24") << "2024-04-04 24:00" << true << "" << "?";
        QTest::newRow("seconds") << "2024-04-04 09:05:00" << true << "" << "?";
        QTest::newRow("a full-width digit") << "2024-04-04 ０9:05" << true << "" << "?";
        QTest::newRow("empty") << "" << false << "" << "?";
        // clang-format on
    }
    void dueTimeForms() {
        QFETCH(QString, text);
        QFETCH(QString, fires);
        WindowFixture f({recordLine("柱", text)});
        setClock("00:00:00");
        start(f);
        QTEST(f.grid().rows() == 3, "listed");
        const QTime at = fires.isEmpty() ? QTime(23, 59, 59) : QTime::fromString(fires, "hh:mm");
        setClock(at.addSecs(-1).toString("hh:mm:ss"));
        emit f.window->scanTick();
        QCOMPARE(popups(), L{});
        setClock(at.toString("hh:mm:ss"));
        emit f.window->scanTick();
        QCOMPARE(popups(), fires.isEmpty() ? L{} : L{"1|1 柱"});

        RecordingMessageService messages;
        messages.setAnswer(false);
        QTEST(confirmDueTime(text, DueTimeInputs{}, messages).value_or("?"), "saved");
    }
};

QTEST_MAIN(TestReminders)
#include "tst_reminders.moc"
