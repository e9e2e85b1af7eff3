// The slot table in ts.ini: its size and exact bytes, the first-free rule, freeing stale slots.

#include <QTemporaryDir>
#include <QTest>

#include "platform/screenmetrics.h"
#include "reminders/reminderfiles.h"
#include "reminders/slottable.h"

using namespace reminderfiles;

namespace {

// One slot as a fresh table holds it (the first one is the example 1|1 of a new ts.ini).
QByteArray section(const QString& name, const char* flag = "0") {
    return g("[") + name.toLatin1() + g("]\r\n是否显示=") + flag +
           g("\r\n编号=0\r\n工程部位=0\r\n强度等级=0\r\n配合比编号=0\r\n制作日期=0\r\n"
             "龄期=0\r\n养护方式=0\r\n到期时间=0\r\n工程量=0\r\n组数=0\r\n备注=0\r\n");
}

// The whole fresh table: groups 1 to 5, positions 1 to P within each.
QByteArray table(int positions) {
    QByteArray bytes;
    for (int group = 1; group <= 5; ++group)
        for (int p = 1; p <= positions; ++p) bytes += section(QString("%1|%2").arg(group).arg(p));
    return bytes;
}

}  // namespace

class TestSlotTable : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path() const { return m_dir->filePath(QStringLiteral("ts.ini")); }

  private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void freshTable_data() {
        QTest::addColumn<int>("heightPixels");
        QTest::addColumn<int>("positions");
        // clang-format off
        QTest::newRow("600 px") << 600 << 2;
        QTest::newRow("768 px") << 768 << 3;
        QTest::newRow("900 px") << 900 << 4;
        QTest::newRow("1024 px, 5.505 rounds up") << 1024 << 5;
        QTest::newRow("1080 px") << 1080 << 5;
        QTest::newRow("1440 px") << 1440 << 7;
        QTest::newRow("279 px, 1.5 goes to the even 2") << 279 << 1;
        QTest::newRow("278 px, too low: no table") << 278 << 0;
        // clang-format on
    }
    void freshTable() {
        QFETCH(int, heightPixels);
        QFETCH(int, positions);
        const FixedScreenMetrics screen(1024, heightPixels, heightPixels - 40);
        QCOMPARE(SlotTable::positionsPerGroup(screen), positions);
        // A leftover table of another size, with busy slots, is replaced entirely.
        QVERIFY(writeRaw(path(), section("1|1", "1") + section("9|9", "1")));
        QVERIFY(SlotTable(path()).create(positions));
        QCOMPARE(readRaw(path()), positions ? table(positions) : QByteArray("<unreadable>"));
        QCOMPARE(SlotTable(path()).findFreeSlot().has_value(), positions > 0);
    }

    void freeSlot_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("slot");
        // clang-format off
        QTest::newRow("fresh table") << section("1|1") + section("1|2") << "1|1";
        QTest::newRow("group 1 busy")
            << section("1|1", "1") + section("1|2", "1") + section("2|1") << "2|1";
        QTest::newRow("every slot busy") << section("1|1", "1") + section("1|2", "1") << "";
        QTest::newRow("file order, not name order") << section("2|1") + section("1|1") << "2|1";
        QTest::newRow("flag read as a number") << section("1|1", "0.0") << "1|1";
        QTest::newRow("no, empty or non-numeric flag") << g("[1|1]\r\n编号=0\r\n")
            + section("1|2", "") + section("1|3", "abc") + section("1|4") << "1|4";
        QTest::newRow("names of no slot") << section("abc") + section("0|1") + section("1|0")
            + section("01|1") + section("1|2") << "1|2";
        QTest::newRow("bracket in a value")
            << g("[1|1]\r\n是否显示=1\r\n备注=[1|9]\r\n") + section("1|2") << "1|2";
        QTest::newRow("text around a header")
            << g("x[1|1]\r\n是否显示=0\r\n") + section("1|2") << "1|2";
        QTest::newRow("saved with LF line ends")
            << QByteArray(section("1|1", "1") + section("1|2")).replace("\r\n", "\n") << "1|2";
        QTest::newRow("binary junk")
            << QByteArrayLiteral("\x00\xff[\x81\x5d|\r\n=\x80\x80[]\r\n") << "";
        // clang-format on
    }
    void freeSlot() {
        QFETCH(QByteArray, file);
        QFETCH(QString, slot);
        QVERIFY(writeRaw(path(), file));
        const std::optional<ReminderSlot> found = SlotTable(path()).findFreeSlot();
        QCOMPARE(found ? found->name : QString(), slot);
        QCOMPARE(readRaw(path()), file);
    }

    // At start-up every busy slot is freed; only the flags change.
    void releaseAll_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray busy = g("[1|1]\r\n是否显示=1\r\n编号=7\r\n");
        const QByteArray freed = g("[1|1]\r\n是否显示=0\r\n编号=7\r\n");
        // clang-format off
        QTest::newRow("busy slots freed, their records kept")
            << busy + section("1|2") + section("2|1", "1") << freed + section("1|2") + section("2|1");
        QTest::newRow("a section that names no slot") << section("abc", "1") << section("abc", "1");
        QTest::newRow("LF line ends kept") << QByteArray(busy).replace("\r\n", "\n")
            << QByteArray(freed).replace("\r\n", "\n");
        QTest::newRow("no file: none made") << QByteArray() << QByteArray("<unreadable>");
        // clang-format on
    }
    void releaseAll() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, expected);
        QVERIFY(writeRaw(path(), file));
        QVERIFY(SlotTable(path()).releaseAll());
        QCOMPARE(readRaw(path()), expected);
    }
};

QTEST_GUILESS_MAIN(TestSlotTable)
#include "tst_slottable.moc"
