// The due scan on a fake clock and screen: which rows fire, into which slots, what the grid,
// ts.ini and the messages show afterwards; a failed 提示初始化.

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

const QString kDue = QStringLiteral("2024-04-04 09:05");

// Records each pop-up as its slot name and its project-part line.
struct RecordingOpener : PopupOpener {
    void openPopup(const ReminderSlot& slot, const QStringList& lines) override {
        opened << slot.name + u' ' + lines.value(2);
    }
    QStringList opened;
};

// Fills the grid with records (project part, due time, due mark) and numbers the rows.
void fill(RecordGrid& grid, const QList<QStringList>& records) {
    grid.setRows(1);  // only the headings: every record row starts afresh
    grid.setRows(static_cast<int>(records.size()) + 2);
    for (int i = 0; i < records.size(); ++i) {
        grid.setTextMatrix(i + 1, 1, records[i].value(0));
        grid.setTextMatrix(i + 1, recordcolumns::kDueTime, records[i].value(1));
        grid.setTextMatrix(i + 1, recordcolumns::kDueMark, records[i].value(2));
    }
    numberRows(grid);
}

}  // namespace

class TestReminderEngine : public QObject {
    Q_OBJECT
    QString path() const { return m_dir->filePath(QStringLiteral("ts.ini")); }
    std::unique_ptr<QTemporaryDir> m_dir;
    RecordGrid m_grid{2, recordcolumns::kMainGridColumns};
    FixedScreenMetrics m_screen{1024, 768, 728};
    RecordingMessageService m_messages;
    RecordingOpener m_opener;

  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_messages.clear();
        m_opener.opened.clear();
    }

    // One due row (row 2 falls due a minute later), two ticks in the minute, no ts.ini yet.
    void scan_data() {
        QTest::addColumn<QString>("dueTime");
        QTest::addColumn<QString>("dueMark");
        QTest::addColumn<bool>("fires");
        // clang-format off
        QTest::newRow("exact minute") << kDue << "" << true;
        QTest::newRow("already marked") << kDue << "到期" << false;
        QTest::newRow("other text in the mark column") << kDue << "到期 " << true;
        QTest::newRow("hour without its zero") << "2024-04-04 9:05" << "" << false;
        QTest::newRow("trailing blank") << "2024-04-04 09:05 " << "" << false;
        QTest::newRow("the minute before") << "2024-04-04 09:04" << "" << false;
        // clang-format on
    }
    void scan() {
        QFETCH(QString, dueTime);
        QFETCH(QString, dueMark);
        QFETCH(bool, fires);
        fill(m_grid, {{"一号楼柱", dueTime, dueMark}, {"二号楼梁", "2024-04-04 09:06"}});
        FixedClock clock(at("2024-04-04 09:05:00"));
        ReminderEngine engine(m_grid, clock, m_screen, m_messages, m_opener, path());
        engine.Timer1_Timer();
        clock.set(at("2024-04-04 09:05:59"));
        engine.Timer1_Timer();

        QCOMPARE(m_opener.opened, fires ? QStringList{"1|1 工程部位:一号楼柱"} : QStringList{});
        QVERIFY(m_messages.messages().isEmpty());  // the table is made silently
        QCOMPARE(flag(path(), "1|1"), fires ? "1" : "");
        QCOMPARE(m_grid.textMatrix(1, recordcolumns::kDueMark), fires ? dueMarkText() : dueMark);
        for (int c = 0; c < m_grid.cols(); ++c) {
            QCOMPARE(m_grid.cellForeColor(1, c), fires && c ? RecordGrid::kYellow : 0u);
            QCOMPARE(m_grid.cellBackColor(1, c), fires && c ? RecordGrid::kHighlight : 0u);
            QCOMPARE(m_grid.cellBackColor(2, c), 0u);
        }
    }

    void noFreeSlotKeepsScanning() {
        fill(m_grid, {{"一号楼柱", kDue}, {"二号楼梁", "2024-04-04 09:06"}});
        FixedClock clock(at("2024-04-04 09:05:10"));
        ReminderEngine engine(m_grid, clock, m_screen, m_messages, m_opener, path());
        QVERIFY(writeRaw(path(), g("[1|1]\r\n是否显示=1\r\n[2|2]\r\n是否显示=1\r\n")));

        engine.Timer1_Timer();
        QVERIFY(m_opener.opened.isEmpty());
        QCOMPARE(m_messages.texts(),
                 {"上次关闭异常。或已经全部提示。此次提示失败。建议立即初始化。"});
        QCOMPARE(m_messages.messages().at(0).title, QStringLiteral("错误提示"));
        QCOMPARE(m_grid.textMatrix(1, recordcolumns::kDueMark), dueMarkText());

        // The program goes on: once a pop-up is closed, the next due record finds its slot.
        QVERIFY(engine.slotTable().release({"2|2"}));
        clock.set(at("2024-04-04 09:06:00"));
        engine.Timer1_Timer();
        QCOMPARE(m_opener.opened, QStringList{"2|2 工程部位:二号楼梁"});
        QCOMPARE(m_messages.messages().size(), 1);
    }

    void initialisationFailureIsTold() {
        QVERIFY(QDir().mkpath(path()));  // a folder in place of ts.ini
        FixedClock clock(at("2024-04-04 09:05:00"));
        ReminderEngine(m_grid, clock, m_screen, m_messages, m_opener, path()).tscsh();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().at(0).icon, MessageIcon::Warning);
        QVERIFY(m_messages.texts().at(0).startsWith("提示初始化失败"));
    }
};

QTEST_GUILESS_MAIN(TestReminderEngine)
#include "tst_reminderengine.moc"
