// The due scan on a fake clock and screen: which rows are announced when the clock moves on,
// sleeps, crosses midnight or goes back; what a restart remembers; what happens without a free
// slot or when a file cannot be written.

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/screenmetrics.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"
#include "reminders/popupopener.h"
#include "reminders/reminderengine.h"
#include "reminders/reminderfiles.h"

using namespace reminderfiles;

namespace {

// A time without a date is on 2024-04-04.
QString onDay(const QString& time) {
    return time.contains(u'-') ? time : QStringLiteral("2024-04-04 ") + time;
}

// Records each pop-up as its slot, its project part and its late note, if any.
struct RecordingOpener : PopupOpener {
    void openPopup(const ReminderSlot& slot, const QStringList& lines,
                   const QString& lateNote) override {
        opened << QStringList{slot.name, lines.value(2).mid(5), lateNote}.join(u' ').trimmed();
    }
    QStringList opened;
};

}  // namespace

class TestReminderEngine : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    RecordGrid m_grid{2, recordcolumns::kMainGridColumns};
    FixedScreenMetrics m_screen{1024, 768, 728};
    RecordingMessageService m_messages;
    RecordingOpener m_opener;
    FixedClock m_clock;

    QString path() const { return m_dir->filePath(QStringLiteral("ts.ini")); }
    QString statePath() const { return m_dir->filePath(QStringLiteral("announced.txt")); }
    std::unique_ptr<ReminderEngine> engine() {
        return std::make_unique<ReminderEngine>(m_grid, m_clock, m_screen, m_messages, m_opener,
                                                path(), statePath());
    }
    // Fills the grid with records "project part|due time|due mark" and numbers the rows.
    void fill(const QStringList& records) {
        m_grid.setRows(1);  // only the headings: every record row starts afresh
        m_grid.setRows(static_cast<int>(records.size()) + 2);
        for (int i = 0; i < records.size(); ++i) {
            const QStringList f = records[i].split(u'|');
            m_grid.setTextMatrix(i + 1, 1, f.value(0));
            m_grid.setTextMatrix(i + 1, recordcolumns::kDueTime, onDay(f.value(1)));
            m_grid.setTextMatrix(i + 1, recordcolumns::kDueMark, f.value(2));
        }
        numberRows(m_grid);
    }
    void tickAt(ReminderEngine& engine, const QStringList& times) {
        for (const QString& t : times) {
            m_clock.set(at(onDay(t).toLatin1().constData()));
            engine.Timer1_Timer();
        }
    }

  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_messages.clear();
        m_opener.opened.clear();
    }

    void announcement_data() {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QStringList>("popups");
        QTest::addColumn<int>("pending");  // rows still to be announced afterwards
        // clang-format off
        QTest::newRow("in its minute, two ticks") << QStringList{"柱|09:05", "梁|09:06"}
            << QStringList{"09:05:00", "09:05:59"} << QStringList{"1|1 柱"} << 1;
        QTest::newRow("not before its minute") << QStringList{"柱|09:05"}
            << QStringList{"09:04:59"} << QStringList{} << 1;
        QTest::newRow("already marked") << QStringList{"柱|09:05|到期"}
            << QStringList{"09:05:00", "09:30:00"} << QStringList{} << 0;
        QTest::newRow("sleep over the minute: late") << QStringList{"柱|09:05"}
            << QStringList{"09:04:55", "09:12:03"} << QStringList{"1|1 柱 补发：原定 09:05 到期"} << 0;
        QTest::newRow("clock back: no second announcement") << QStringList{"柱|09:05"}
            << QStringList{"09:05:10", "08:50:00", "09:05:20", "09:07:00"} << QStringList{"1|1 柱"}
            << 0;
        QTest::newRow("across midnight: late with its date") << QStringList{"柱|23:59"}
            << QStringList{"23:58:58", "2024-04-05 00:00:03"}
            << QStringList{"1|1 柱 补发：原定 2024-04-04 23:59 到期"} << 0;
        QTest::newRow("same minute: grid order, stacked slots")
            << QStringList{"柱|09:05", "板|10:00", "梁|09:05"} << QStringList{"09:05:30"}
            << QStringList{"1|1 柱", "1|2 梁"} << 1;
        QTest::newRow("hand-edited time without zeros") << QStringList{"柱|2024-4-4  9:05 "}
            << QStringList{"09:05:00"} << QStringList{"1|1 柱"} << 0;
        QTest::newRow("date alone or impossible time: never")
            << QStringList{"柱|2024-04-04", "梁|24:00", "板|2024-02-30 09:00", "墙|0x:00"}
            << QStringList{"23:59:59"} << QStringList{} << 0;
        // clang-format on
    }
    void announcement() {
        QFETCH(QStringList, records);
        QFETCH(QStringList, ticks);
        QFETCH(QStringList, popups);
        QFETCH(int, pending);
        fill(records);
        auto scan = engine();
        tickAt(*scan, ticks);
        QCOMPARE(m_opener.opened, popups);
        QVERIFY(m_messages.messages().isEmpty());  // the table is made silently
        QCOMPARE(scan->pendingCount(), pending);
        if (popups.isEmpty()) return;
        // Row 1 is announced first in every case: marked and coloured from column 1 on.
        QCOMPARE(m_grid.textMatrix(1, recordcolumns::kDueMark), dueMarkText());
        for (int c = 0; c < m_grid.cols(); ++c) {
            QCOMPARE(m_grid.cellForeColor(1, c), c ? RecordGrid::kYellow : 0u);
            QCOMPARE(m_grid.cellBackColor(1, c), c ? RecordGrid::kHighlight : 0u);
        }
        QCOMPARE(flag(path(), "1|1"), "1");
    }

    // A first run announces its rows at 09:05:30 and ends; the second loads its list afresh.
    void restart_data() {
        QTest::addColumn<QStringList>("firstRun");
        QTest::addColumn<QByteArray>("stateFile");  // replaces the state before the restart
        QTest::addColumn<QStringList>("secondRun");
        QTest::addColumn<QStringList>("marked");  // project parts marked before any tick
        QTest::addColumn<QStringList>("popups");  // after ticks at 09:10 and 09:30
        const QByteArray keep = "<keep>";
        const QStringList one = {"柱|09:05"};
        // clang-format off
        QTest::newRow("announced before: mark back, no pop-up") << QStringList{"柱|09:05", "梁|09:30"}
            << keep << QStringList{"柱|09:05", "梁|09:30"} << QStringList{"柱"} << QStringList{"1|2 梁"};
        QTest::newRow("due while closed: announced late at once") << one << keep
            << QStringList{"柱|09:05", "梁|09:07"} << QStringList{"柱"}
            << QStringList{"1|2 梁 补发：原定 09:07 到期"};
        QTest::newRow("identical twin added later: only one mark") << one << keep
            << QStringList{"柱|09:05", "柱|09:05"} << QStringList{"柱"}
            << QStringList{"1|2 柱 补发：原定 09:05 到期"};
        QTest::newRow("due time moved: a new record") << one << keep << QStringList{"柱|09:30"}
            << QStringList{} << QStringList{"1|2 柱"};
        QTest::newRow("no state file: announced again") << one << QByteArray() << one
            << QStringList{} << QStringList{"1|2 柱 补发：原定 09:05 到期"};
        QTest::newRow("damaged state file: ignored") << one
            << QByteArray("\xff\0junk\t\t\r\n2024-04-04 09:05\tXYZ\tx\r\n", 36) << one
            << QStringList{} << QStringList{"1|2 柱 补发：原定 09:05 到期"};
        // clang-format on
    }
    void restart() {
        QFETCH(QStringList, firstRun);
        QFETCH(QByteArray, stateFile);
        QFETCH(QStringList, secondRun);
        QFETCH(QStringList, marked);
        QFETCH(QStringList, popups);
        fill(firstRun);
        tickAt(*engine(), {"09:05:30"});
        if (stateFile != "<keep>") QVERIFY(writeRaw(statePath(), stateFile));
        m_opener.opened.clear();

        fill(secondRun);
        auto scan = engine();
        scan->restoreMarks(QDate(2024, 4, 4));
        QStringList seen;
        for (int r = 1; r < m_grid.rows(); ++r)
            if (m_grid.textMatrix(r, recordcolumns::kDueMark) == dueMarkText())
                seen << m_grid.textMatrix(r, 1);
        QCOMPARE(seen, marked);
        QVERIFY(m_opener.opened.isEmpty());
        tickAt(*scan, {"09:10:00", "09:30:00"});
        QCOMPARE(m_opener.opened, popups);
        QVERIFY(m_messages.messages().isEmpty());
    }

    // Past days' announcements leave the state file at the next load of today's list; the file
    // stays GBK text a reader can follow.
    void pastDaysPruned() {
        fill({"昨日柱|2024-04-03 23:59", "今日柱|00:01"});
        tickAt(*engine(), {"00:02:00"});
        engine()->restoreMarks(QDate(2024, 4, 4));
        const QString text = gbk::decode(readRaw(statePath()));
        QVERIFY2(!text.contains("昨日柱") && text.contains("\t今日柱,,,,,2024-04-04 00:01,,,,\r\n"),
                 qPrintable(text));
    }

    // Every slot busy: one notice per tick, no mark, and the rows are tried again each tick.
    void noFreeSlotRetries() {
        fill({"柱|09:05", "梁|09:05"});
        QVERIFY(writeRaw(path(), g("[1|1]\r\n是否显示=1\r\n[2|2]\r\n是否显示=1\r\n")));
        auto scan = engine();
        tickAt(*scan, {"09:05:10", "09:05:15"});
        QVERIFY(m_opener.opened.isEmpty());
        QCOMPARE(m_messages.messages().size(), 2);
        for (const auto& m : m_messages.messages()) QVERIFY(m.notice && m.title == "错误提示");
        QCOMPARE(scan->pendingCount(), 2);

        // A pop-up is closed: the first row takes its slot, the second waits with a notice.
        QVERIFY(scan->slotTable().release({"2|2"}));
        tickAt(*scan, {"09:07:00"});
        QCOMPARE(m_opener.opened, QStringList{"2|2 柱 补发：原定 09:05 到期"});
        QCOMPARE(m_messages.messages().size(), 3);
        QCOMPARE(scan->pendingCount(), 1);
    }

    // A folder where a file should be: the user is told, and the reminder still opens.
    void writeFailuresAreTold_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("text");
        QTest::newRow("announced state") << "announced.txt"
                                         << "无法保存已提醒的记录";
        QTest::newRow("提示初始化") << "ts.ini"
                                    << "提示初始化失败";
    }
    void writeFailuresAreTold() {
        QFETCH(QString, folder);
        QFETCH(QString, text);
        QVERIFY(QDir().mkpath(m_dir->filePath(folder)));
        fill({"柱|09:05"});
        if (folder == "ts.ini")
            engine()->tscsh();
        else
            tickAt(*engine(), {"09:05:00"});
        QCOMPARE(m_opener.opened.size(), folder == "ts.ini" ? 0 : 1);
        QCOMPARE(m_messages.messages().size(), 1);
        QVERIFY(m_messages.texts().at(0).startsWith(text));
    }
};

QTEST_GUILESS_MAIN(TestReminderEngine)
#include "tst_reminderengine.moc"
