// The due scan on a fake clock and screen: which rows are announced when the clock moves on, jumps,
// sleeps, crosses midnight or goes back; what a restart remembers; what happens without a free
// slot; a failed 提示初始化.

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

// Records each pop-up as its slot name, its project-part line and its late note, if any.
struct RecordingOpener : PopupOpener {
    void openPopup(const ReminderSlot& slot, const QStringList& lines,
                   const QString& lateNote) override {
        opened << (slot.name + u' ' + lines.value(2) + u' ' + lateNote).trimmed();
    }
    QStringList opened;
};

// Fills the grid with records "project part|due time|due mark" and numbers the rows.
void fill(RecordGrid& grid, const QStringList& records) {
    grid.setRows(1);  // only the headings: every record row starts afresh
    grid.setRows(static_cast<int>(records.size()) + 2);
    for (int i = 0; i < records.size(); ++i) {
        const QStringList f = records[i].split(u'|');
        grid.setTextMatrix(i + 1, 1, f.value(0));
        grid.setTextMatrix(i + 1, recordcolumns::kDueTime, f.value(1));
        grid.setTextMatrix(i + 1, recordcolumns::kDueMark, f.value(2));
    }
    numberRows(grid);
}

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
    // One tick at each "yyyy-MM-dd hh:mm:ss" time.
    void tickAt(ReminderEngine& engine, const QStringList& times) {
        for (const QString& t : times) {
            m_clock.set(at(t.toLatin1().constData()));
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
        const QString day = "2024-04-04 ";
        // clang-format off
        QTest::newRow("in its minute, two ticks")
            << QStringList{"柱|2024-04-04 09:05", "梁|2024-04-04 09:06"}
            << QStringList{day + "09:05:00", day + "09:05:59"} << QStringList{"1|1 工程部位:柱"} << 1;
        QTest::newRow("not before its minute")
            << QStringList{"柱|2024-04-04 09:05"} << QStringList{day + "09:04:59"} << QStringList{} << 1;
        QTest::newRow("already marked") << QStringList{"柱|2024-04-04 09:05|到期"}
            << QStringList{day + "09:05:00", day + "09:30:00"} << QStringList{} << 0;
        QTest::newRow("other text in the mark column") << QStringList{"柱|2024-04-04 09:05|到期 "}
            << QStringList{day + "09:05:00"} << QStringList{"1|1 工程部位:柱"} << 0;
        QTest::newRow("sleep over the minute: late")
            << QStringList{"柱|2024-04-04 09:05"} << QStringList{day + "09:04:55", day + "09:12:03"}
            << QStringList{"1|1 工程部位:柱 补发：原定 09:05 到期"} << 0;
        QTest::newRow("clock back: no second announcement")
            << QStringList{"柱|2024-04-04 09:05"}
            << QStringList{day + "09:05:10", day + "08:50:00", day + "09:05:20", day + "09:07:00"}
            << QStringList{"1|1 工程部位:柱"} << 0;
        QTest::newRow("across midnight: the old day's row, late with its date")
            << QStringList{"柱|2024-04-04 23:59"}
            << QStringList{day + "23:58:58", "2024-04-05 00:00:03"}
            << QStringList{"1|1 工程部位:柱 补发：原定 2024-04-04 23:59 到期"} << 0;
        QTest::newRow("same minute: grid order, stacked slots")
            << QStringList{"柱|2024-04-04 09:05", "板|2024-04-04 10:00", "梁|2024-04-04 09:05"}
            << QStringList{day + "09:05:30"} << QStringList{"1|1 工程部位:柱", "1|2 工程部位:梁"} << 1;
        QTest::newRow("several overdue at once, in grid order")
            << QStringList{"柱|2024-04-04 09:05", "梁|2024-04-04 08:00"}
            << QStringList{day + "09:06:00"}
            << QStringList{"1|1 工程部位:柱 补发：原定 09:05 到期",
                           "1|2 工程部位:梁 补发：原定 08:00 到期"} << 0;
        QTest::newRow("hand-edited time without zeros")
            << QStringList{"柱|2024-4-4  9:05 "} << QStringList{day + "09:05:00"}
            << QStringList{"1|1 工程部位:柱"} << 0;
        QTest::newRow("date alone or impossible time: never")
            << QStringList{"柱|2024-04-04", "梁|2024-04-04 24:00", "板|2024-02-30 09:00",
                           "墙|2024-04-04 0-:00", "桩|2024-04-04 0x:00"}
            << QStringList{day + "23:59:59"} << QStringList{} << 0;
        // clang-format on
    }
    void announcement() {
        QFETCH(QStringList, records);
        QFETCH(QStringList, ticks);
        QFETCH(QStringList, popups);
        QFETCH(int, pending);
        fill(m_grid, records);
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

    // A first run announces some rows and ends; the second run loads its list afresh.
    void restart_data() {
        QTest::addColumn<QStringList>("firstRun");  // records, all ticked at 09:05:30
        QTest::addColumn<QByteArray>("stateFile");  // replaces the state before the restart
        QTest::addColumn<QStringList>("secondRun");
        QTest::addColumn<QStringList>("marked");  // project parts marked before any tick
        QTest::addColumn<QStringList>("popups");  // after ticks at 09:10 and 09:30
        const QByteArray keep = "<keep>";
        // clang-format off
        QTest::newRow("announced before: mark back, no pop-up")
            << QStringList{"柱|2024-04-04 09:05", "梁|2024-04-04 09:30"} << keep
            << QStringList{"柱|2024-04-04 09:05", "梁|2024-04-04 09:30"}
            << QStringList{"柱"} << QStringList{"1|2 工程部位:梁"};
        QTest::newRow("due while closed: announced late at once")
            << QStringList{"柱|2024-04-04 09:05"} << keep
            << QStringList{"柱|2024-04-04 09:05", "梁|2024-04-04 09:07"}
            << QStringList{"柱"} << QStringList{"1|2 工程部位:梁 补发：原定 09:07 到期"};
        QTest::newRow("identical twin added later: only one mark")
            << QStringList{"柱|2024-04-04 09:05"} << keep
            << QStringList{"柱|2024-04-04 09:05", "柱|2024-04-04 09:05"}
            << QStringList{"柱"} << QStringList{"1|2 工程部位:柱 补发：原定 09:05 到期"};
        QTest::newRow("due time moved: a new record, announced at its new time")
            << QStringList{"柱|2024-04-04 09:05"} << keep
            << QStringList{"柱|2024-04-04 09:30"} << QStringList{} << QStringList{"1|2 工程部位:柱"};
        QTest::newRow("no state file: announced again, late")
            << QStringList{"柱|2024-04-04 09:05"} << QByteArray()
            << QStringList{"柱|2024-04-04 09:05"}
            << QStringList{} << QStringList{"1|2 工程部位:柱 补发：原定 09:05 到期"};
        QTest::newRow("damaged state file: ignored")
            << QStringList{"柱|2024-04-04 09:05"}
            << QByteArray("\xff\xfe\0junk\t\t\r\n"
                          "2024-04-04 09:05\tXYZ\tx\r\n"
                          "2024-13-01 00:00\t0123456789abcdef\tx\r\n", 72)
            << QStringList{"柱|2024-04-04 09:05"}
            << QStringList{} << QStringList{"1|2 工程部位:柱 补发：原定 09:05 到期"};
        // clang-format on
    }
    void restart() {
        QFETCH(QStringList, firstRun);
        QFETCH(QByteArray, stateFile);
        QFETCH(QStringList, secondRun);
        QFETCH(QStringList, marked);
        QFETCH(QStringList, popups);
        fill(m_grid, firstRun);
        tickAt(*engine(), {"2024-04-04 09:05:30"});
        if (stateFile != "<keep>") QVERIFY(writeRaw(statePath(), stateFile));
        m_opener.opened.clear();

        fill(m_grid, secondRun);
        auto scan = engine();
        scan->restoreMarks(QDate(2024, 4, 4));
        QStringList seen;
        for (int r = 1; r < m_grid.rows(); ++r)
            if (m_grid.textMatrix(r, recordcolumns::kDueMark) == dueMarkText())
                seen << m_grid.textMatrix(r, 1);
        QCOMPARE(seen, marked);
        QVERIFY(m_opener.opened.isEmpty());
        tickAt(*scan, {"2024-04-04 09:10:00", "2024-04-04 09:30:00"});
        QCOMPARE(m_opener.opened, popups);
        QVERIFY(m_messages.messages().isEmpty());
    }

    // Announcements of past days leave the state file at the next load of today's list; the
    // file stays GBK text a reader can follow.
    void pastDaysPruned() {
        fill(m_grid, {"昨日柱|2024-04-03 23:59", "今日柱|2024-04-04 00:01"});
        tickAt(*engine(), {"2024-04-04 00:02:00"});
        QCOMPARE(engine()->announced().size(), 2);
        engine()->restoreMarks(QDate(2024, 4, 4));
        const QString text = gbk::decode(readRaw(statePath()));
        QVERIFY2(!text.contains("昨日柱") && text.contains("\t今日柱,,,,,2024-04-04 00:01,,,,\r\n"),
                 qPrintable(text));
        QCOMPARE(engine()->announced().size(), 1);
    }

    // Every slot busy: one notice per tick, no mark, and the rows are tried again each tick.
    void noFreeSlotRetries() {
        fill(m_grid, {"柱|2024-04-04 09:05", "梁|2024-04-04 09:05"});
        QVERIFY(writeRaw(path(), g("[1|1]\r\n是否显示=1\r\n[2|2]\r\n是否显示=1\r\n")));
        auto scan = engine();
        tickAt(*scan, {"2024-04-04 09:05:10", "2024-04-04 09:05:15"});
        QVERIFY(m_opener.opened.isEmpty());
        QCOMPARE(m_messages.messages().size(), 2);
        for (const auto& m : m_messages.messages()) {
            QVERIFY(m.notice);
            QCOMPARE(m.title, QStringLiteral("错误提示"));
        }
        QCOMPARE(scan->pendingCount(), 2);

        // A pop-up is closed: the first row takes its slot, the second waits with a notice.
        QVERIFY(scan->slotTable().release({"2|2"}));
        tickAt(*scan, {"2024-04-04 09:07:00"});
        QCOMPARE(m_opener.opened, QStringList{"2|2 工程部位:柱 补发：原定 09:05 到期"});
        QCOMPARE(m_messages.messages().size(), 3);
        QCOMPARE(scan->pendingCount(), 1);
    }

    void stateWriteFailureIsNoticed() {
        QVERIFY(QDir().mkpath(statePath()));  // a folder in place of the state file
        fill(m_grid, {"柱|2024-04-04 09:05"});
        tickAt(*engine(), {"2024-04-04 09:05:00"});
        QCOMPARE(m_opener.opened.size(), 1);
        QCOMPARE(m_messages.messages().size(), 1);
        QVERIFY(m_messages.messages().at(0).notice);
        QVERIFY(m_messages.texts().at(0).startsWith("无法保存已提醒的记录"));
    }

    void initialisationFailureIsTold() {
        QVERIFY(QDir().mkpath(path()));  // a folder in place of ts.ini
        engine()->tscsh();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().at(0).icon, MessageIcon::Warning);
        QVERIFY(m_messages.texts().at(0).startsWith("提示初始化失败"));
    }
};

QTEST_GUILESS_MAIN(TestReminderEngine)
#include "tst_reminderengine.moc"
