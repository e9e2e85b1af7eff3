// The due scan and 提示初始化 on a fake clock and a fake screen: which rows fire, in which slots,
// with which pop-ups and messages, and what ts.ini holds afterwards.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/profile.h"
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

struct OpenedPopup {
    QString slot;
    int position = 0;
    QStringList lines;
};

class RecordingOpener : public PopupOpener {
  public:
    void openPopup(const ReminderSlot& slot, const QStringList& lines) override {
        opened.append({slot.name, slot.position, lines});
    }
    QStringList openedSlots() const {
        QStringList names;
        for (const OpenedPopup& p : opened) names << p.slot;
        return names;
    }
    QList<OpenedPopup> opened;
};

// A clock that moves on to the next time at every reading, then stays at the last.
class SteppingClock : public Clock {
  public:
    explicit SteppingClock(QList<QDateTime> times) : m_times(std::move(times)) {}
    QDateTime now() const override { return m_times.at(qMin(m_reads++, m_times.size() - 1)); }

  private:
    QList<QDateTime> m_times;
    mutable qsizetype m_reads = 0;
};

// Fills the grid with records (project part, due time, due mark) and numbers the rows.
void fill(RecordGrid& grid, const QList<QStringList>& records) {
    grid.setRows(static_cast<int>(records.size()) + 2);
    for (int i = 0; i < records.size(); ++i) {
        const QStringList& r = records.at(i);
        grid.setTextMatrix(i + 1, 1, r.value(0));
        grid.setTextMatrix(i + 1, 2, QStringLiteral("C30"));
        grid.setTextMatrix(i + 1, recordcolumns::kDueTime, r.value(1));
        grid.setTextMatrix(i + 1, recordcolumns::kDueMark, r.value(2));
    }
    numberRows(grid);
}

}  // namespace

class TestReminderEngine : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void sameMinuteFiresIntoConsecutiveSlots();
    void firedRowNeverFiresAgain();
    void dueTimeMatch_data();
    void dueTimeMatch();
    void walkCrossingMinuteUsesNewMinute();
    void noFreeSlotKeepsScanning();
    void initialisation_data();
    void initialisation();
    void initialisationFailureIsReported();

  private:
    QString profilePath() const { return m_dir->filePath(QStringLiteral("ts.ini")); }
    QString flag(const char* slot) const {
        return ReadProfileValue(QString::fromLatin1(slot), QStringLiteral("是否显示"),
                                profilePath());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RecordGrid> m_grid;
    FixedScreenMetrics m_screen{1024, 768, 728};
    RecordingMessageService m_messages;
    RecordingOpener m_opener;
};

void TestReminderEngine::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_grid = std::make_unique<RecordGrid>(2, recordcolumns::kMainGridColumns);
    m_messages.clear();
    m_opener.opened.clear();
}

void TestReminderEngine::sameMinuteFiresIntoConsecutiveSlots() {
    fill(*m_grid, {{"一号楼柱", kDue}, {"二号楼梁", "2024-04-04 09:06"}, {"三号楼板", kDue}});
    FixedClock clock(at("2024-04-04 09:05:30"));
    ReminderEngine engine(*m_grid, clock, m_screen, m_messages, m_opener, profilePath());

    // No ts.ini yet, as after a fresh install: the table is made silently and the first reminder
    // works.
    QVERIFY(!QFile::exists(profilePath()));
    engine.Timer1_Timer();
    QVERIFY(m_messages.messages().isEmpty());
    QCOMPARE(ListProfileSections(profilePath()).size(), 15);

    QCOMPARE(m_opener.openedSlots(), (QStringList{"1|1", "1|2"}));
    QCOMPARE(m_opener.opened.at(1).position, m_opener.opened.at(0).position + 1);
    QCOMPARE(m_opener.opened.at(0).lines.value(0), QStringLiteral("编号:1"));
    QCOMPARE(m_opener.opened.at(0).lines.value(2), QStringLiteral("工程部位:一号楼柱"));
    QCOMPARE(m_opener.opened.at(1).lines.value(0), QStringLiteral("编号:3"));
    QCOMPARE(flag("1|1"), QStringLiteral("1"));
    QCOMPARE(flag("1|2"), QStringLiteral("1"));
    QCOMPARE(flag("1|3"), QStringLiteral("0"));
    QCOMPARE(ReadProfileValue("1|2", "工程部位", profilePath()), QStringLiteral("三号楼板"));

    for (int row : {1, 3}) {
        QCOMPARE(m_grid->textMatrix(row, recordcolumns::kDueMark), dueMarkText());
        QCOMPARE(m_grid->cellForeColor(row, 0), RecordGrid::kDefaultColour);
        QCOMPARE(m_grid->cellBackColor(row, 0), RecordGrid::kDefaultColour);
        for (int c = 1; c < m_grid->cols(); ++c) {
            QCOMPARE(m_grid->cellForeColor(row, c), RecordGrid::kYellow);
            QCOMPARE(m_grid->cellBackColor(row, c), RecordGrid::kHighlight);
        }
    }
    QCOMPARE(m_grid->textMatrix(2, recordcolumns::kDueMark), QString());
    QCOMPARE(m_grid->cellBackColor(2, 1), RecordGrid::kDefaultColour);
}

void TestReminderEngine::firedRowNeverFiresAgain() {
    fill(*m_grid, {{"一号楼柱", kDue}});
    FixedClock clock(at("2024-04-04 09:05:00"));
    ReminderEngine engine(*m_grid, clock, m_screen, m_messages, m_opener, profilePath());
    engine.Timer1_Timer();
    clock.set(at("2024-04-04 09:05:55"));
    engine.Timer1_Timer();
    engine.Timer1_Timer();
    QCOMPARE(m_opener.openedSlots(), QStringList{"1|1"});
    QCOMPARE(flag("1|2"), QStringLiteral("0"));
}

void TestReminderEngine::dueTimeMatch_data() {
    QTest::addColumn<QString>("dueTime");
    QTest::addColumn<QString>("dueMark");
    QTest::addColumn<bool>("fires");

    // clang-format off
    QTest::newRow("exact minute") << kDue << "" << true;
    QTest::newRow("already marked") << kDue << "到期" << false;
    QTest::newRow("other text in the mark column") << kDue << "到期 " << true;
    QTest::newRow("hour without its zero") << "2024-04-04 9:05" << "" << false;
    QTest::newRow("month without its zero") << "2024-4-04 09:05" << "" << false;
    QTest::newRow("with seconds") << "2024-04-04 09:05:00" << "" << false;
    QTest::newRow("trailing blank") << "2024-04-04 09:05 " << "" << false;
    QTest::newRow("the minute before") << "2024-04-04 09:04" << "" << false;
    QTest::newRow("empty due time") << "" << "" << false;
    // clang-format on
}

void TestReminderEngine::dueTimeMatch() {
    QFETCH(QString, dueTime);
    QFETCH(QString, dueMark);
    QFETCH(bool, fires);
    fill(*m_grid, {{"一号楼柱", dueTime, dueMark}});
    FixedClock clock(at("2024-04-04 09:05:59"));
    ReminderEngine engine(*m_grid, clock, m_screen, m_messages, m_opener, profilePath());
    engine.Timer1_Timer();
    QCOMPARE(m_opener.opened.size(), fires ? 1 : 0);
    QCOMPARE(m_grid->textMatrix(1, recordcolumns::kDueMark), fires ? dueMarkText() : dueMark);
    QCOMPARE(m_grid->cellForeColor(1, 1), fires ? RecordGrid::kYellow : RecordGrid::kDefaultColour);
    QCOMPARE(QFile::exists(profilePath()), fires);
}

void TestReminderEngine::walkCrossingMinuteUsesNewMinute() {
    // The clock is read for every row: the minute turns while the walk is at row 1.
    fill(*m_grid, {{"一号楼柱", kDue}, {"二号楼梁", "2024-04-04 09:06"}, {"三号楼板", kDue}});
    SteppingClock clock({at("2024-04-04 09:05:59"), at("2024-04-04 09:06:00")});
    ReminderEngine engine(*m_grid, clock, m_screen, m_messages, m_opener, profilePath());
    engine.Timer1_Timer();
    QCOMPARE(m_opener.openedSlots(), (QStringList{"1|1", "1|2"}));
    QCOMPARE(m_opener.opened.at(1).lines.value(2), QStringLiteral("工程部位:二号楼梁"));
    QCOMPARE(m_grid->textMatrix(3, recordcolumns::kDueMark), QString());
}

void TestReminderEngine::noFreeSlotKeepsScanning() {
    fill(*m_grid, {{"一号楼柱", kDue}, {"二号楼梁", "2024-04-04 09:06"}});
    FixedClock clock(at("2024-04-04 09:05:10"));
    const FixedScreenMetrics small(800, 600, 560);
    ReminderEngine engine(*m_grid, clock, small, m_messages, m_opener, profilePath());
    QVERIFY(engine.slotTable().create(SlotTable::positionsPerGroup(small)));
    const QStringList names = SlotTable::slotNames(SlotTable::positionsPerGroup(small));
    for (const QString& name : names)
        QVERIFY(writeProfileString(profilePath(), name, "是否显示", "1"));

    engine.Timer1_Timer();
    QVERIFY(m_opener.opened.isEmpty());
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages().at(0).title, QStringLiteral("错误提示"));
    QCOMPARE(m_messages.messages().at(0).text,
             QStringLiteral("上次关闭异常。或已经全部提示。此次提示失败。建议立即初始化。"));
    QCOMPARE(m_grid->textMatrix(1, recordcolumns::kDueMark), dueMarkText());
    QCOMPARE(m_grid->cellForeColor(1, 1), RecordGrid::kYellow);

    // The program goes on: once a pop-up is closed, the next due record finds its slot.
    QVERIFY(engine.slotTable().release({"2|2"}));
    clock.set(at("2024-04-04 09:06:00"));
    engine.Timer1_Timer();
    QCOMPARE(m_opener.openedSlots(), QStringList{"2|2"});
    QCOMPARE(m_messages.messages().size(), 1);
}

void TestReminderEngine::initialisation_data() {
    QTest::addColumn<int>("heightPixels");
    QTest::addColumn<int>("slotCount");
    QTest::newRow("768 px") << 768 << 15;
    QTest::newRow("1440 px") << 1440 << 35;
    QTest::newRow("too low, no slots") << 278 << 0;
}

void TestReminderEngine::initialisation() {
    QFETCH(int, heightPixels);
    QFETCH(int, slotCount);
    // An old table with busy slots.
    QVERIFY(writeProfileString(profilePath(), "1|1", "是否显示", "1"));
    QVERIFY(writeProfileString(profilePath(), "7|7", "是否显示", "1"));

    FixedClock clock(at("2024-04-04 09:05:00"));
    const FixedScreenMetrics screen(1024, heightPixels, heightPixels);
    ReminderEngine engine(*m_grid, clock, screen, m_messages, m_opener, profilePath());
    engine.tscsh();

    QCOMPARE(m_messages.messages().size(), 1);
    const RecordingMessageService::Message& m = m_messages.messages().at(0);
    QCOMPARE(m.title, QStringLiteral("提示"));
    QCOMPARE(m.text, QStringLiteral("初始化完成。此初始化仅会修改提示组数。不会对数据进行损坏"));
    QCOMPARE(m.icon, MessageIcon::Information);
    QCOMPARE(QFile::exists(profilePath()), slotCount > 0);
    QCOMPARE(ListProfileSections(profilePath()).size(), slotCount);
    if (slotCount > 0) QCOMPARE(flag("1|1"), QStringLiteral("0"));
}

void TestReminderEngine::initialisationFailureIsReported() {
    // A folder named ts.ini: the table cannot be written, and the user is told so instead of
    // being told it is done.
    QVERIFY(QDir().mkpath(profilePath()));
    FixedClock clock(at("2024-04-04 09:05:00"));
    ReminderEngine engine(*m_grid, clock, m_screen, m_messages, m_opener, profilePath());
    engine.tscsh();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages().at(0).icon, MessageIcon::Warning);
    QVERIFY(m_messages.messages().at(0).text.startsWith(QStringLiteral("提示初始化失败")));
}

QTEST_GUILESS_MAIN(TestReminderEngine)
#include "tst_reminderengine.moc"
