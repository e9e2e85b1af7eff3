// The slot table of ts.ini: its size for a screen, its exact bytes after 提示初始化, the first-free
// rule (also on broken and hand-edited files) and the writes of the scan and the pop-ups.

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/gbkcodec.h"
#include "platform/profile.h"
#include "platform/screenmetrics.h"
#include "reminders/reminderfiles.h"
#include "reminders/slottable.h"

using namespace reminderfiles;

namespace {

// One slot section as the initialisation leaves it, with the given flag.
QByteArray section(const char* name, const char* flag = "0") {
    return g("[") + name + g("]\r\n是否显示=") + flag +
           g("\r\n编号=0\r\n工程部位=0\r\n强度等级=0\r\n配合比编号=0\r\n制作日期=0\r\n"
             "龄期=0\r\n养护方式=0\r\n到期时间=0\r\n工程量=0\r\n组数=0\r\n备注=0\r\n");
}

}  // namespace

class TestSlotTable : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void tableSize_data();
    void tableSize();
    void freshTableBytes();
    void tooLowScreenDeletesTable();
    void freeSlot_data();
    void freeSlot();
    void fillWritesRecordAndClaims();
    void releaseTouchesOnlyFlags();

  private:
    QString path() const { return m_dir->filePath(QStringLiteral("ts.ini")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSlotTable::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestSlotTable::tableSize_data() {
    QTest::addColumn<int>("heightPixels");
    QTest::addColumn<int>("positions");
    QTest::addColumn<QString>("last");

    // clang-format off
    QTest::newRow("600 px") << 600 << 2 << "5|2";
    QTest::newRow("768 px") << 768 << 3 << "5|3";
    QTest::newRow("900 px") << 900 << 4 << "5|4";
    QTest::newRow("1024 px, 5.505 rounds up") << 1024 << 5 << "5|5";
    QTest::newRow("1080 px") << 1080 << 5 << "5|5";
    QTest::newRow("1440 px") << 1440 << 7 << "5|7";
    QTest::newRow("279 px, 1.5 goes to the even 2") << 279 << 1 << "5|1";
    QTest::newRow("278 px, too low") << 278 << 0 << "";
    // clang-format on
}

void TestSlotTable::tableSize() {
    QFETCH(int, heightPixels);
    QFETCH(int, positions);
    QFETCH(QString, last);

    const FixedScreenMetrics screen(1024, heightPixels, heightPixels - 40);
    QCOMPARE(SlotTable::positionsPerGroup(screen), positions);
    const SlotTable table(path());
    QVERIFY(table.create(SlotTable::positionsPerGroup(screen)));
    const QStringList names = ListProfileSections(path());
    QCOMPARE(names.size(), 5 * positions);
    QCOMPARE(names.value(names.size() - 1), last);
    QCOMPARE(names, SlotTable::slotNames(positions));
}

void TestSlotTable::freshTableBytes() {
    // A leftover table of another size, with a busy slot, is replaced entirely.
    QVERIFY(writeRaw(path(), section("1|1", "1") + section("9|9", "1")));
    const SlotTable table(path());
    QVERIFY(table.create(3));
    const QByteArray bytes = readRaw(path());

    const QByteArray first =
        g("[1|1]\r\n是否显示=0\r\n编号=0\r\n工程部位=0\r\n强度等级=0\r\n配合比编号=0\r\n"
          "制作日期=0\r\n龄期=0\r\n养护方式=0\r\n到期时间=0\r\n工程量=0\r\n组数=0\r\n备注=0\r\n");
    QCOMPARE(bytes.left(first.size()), first);

    const QStringList order = {"1|1", "1|2", "1|3", "2|1", "2|2", "2|3", "3|1", "3|2",
                               "3|3", "4|1", "4|2", "4|3", "5|1", "5|2", "5|3"};
    QCOMPARE(ListProfileSections(path()), order);
    QByteArray whole;
    for (const QString& name : order) whole += section(name.toLatin1().constData());
    QCOMPARE(bytes, whole);

    QVERIFY(table.create(3));
    QCOMPARE(readRaw(path()), bytes);
}

void TestSlotTable::tooLowScreenDeletesTable() {
    QVERIFY(writeRaw(path(), section("1|1")));
    QVERIFY(SlotTable(path()).create(0));
    QVERIFY(!QFile::exists(path()));
    QVERIFY(!SlotTable(path()).findFreeSlot());
}

void TestSlotTable::freeSlot_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("slot");

    // clang-format off
    QTest::newRow("fresh table") << section("1|1") + section("1|2") << "1|1";
    QTest::newRow("1|1 busy") << section("1|1", "1") + section("1|2") << "1|2";
    QTest::newRow("group 1 busy") << section("1|1", "1") + section("1|2", "1") + section("2|1") << "2|1";
    QTest::newRow("every slot busy") << section("1|1", "1") + section("1|2", "1") << "";
    QTest::newRow("file order, not name order") << section("2|1") + section("1|1") << "2|1";
    QTest::newRow("flag read as a number") << section("1|1", "0.0") << "1|1";
    QTest::newRow("no flag") << g("[1|1]\r\n编号=0\r\n") + section("1|2") << "1|2";
    QTest::newRow("empty flag") << section("1|1", "") + section("1|2") << "1|2";
    QTest::newRow("flag not a number") << section("1|1", "abc") + section("1|2") << "1|2";
    QTest::newRow("section named abc") << section("abc") + section("1|2") << "1|2";
    QTest::newRow("position 0") << section("0|1") + section("1|0") + section("1|2") << "1|2";
    QTest::newRow("leading zero") << section("01|1") + section("1|2") << "1|2";
    QTest::newRow("bracket inside a value") << g("[1|1]\r\n是否显示=1\r\n备注=[1|9]\r\n") + section("1|2") << "1|2";
    QTest::newRow("header with text around it") << g("x[1|1]\r\n是否显示=0\r\n") + section("1|2") << "1|2";
    QTest::newRow("binary junk") << QByteArrayLiteral("\x00\xff[\x81\x5d|\r\n=\x80\x80[]\r\n") << "";
    QTest::newRow("empty file") << QByteArray("") << "";
    // clang-format on
}

void TestSlotTable::freeSlot() {
    QFETCH(QByteArray, file);
    QFETCH(QString, slot);
    QVERIFY(writeRaw(path(), file));
    const std::optional<ReminderSlot> found = SlotTable(path()).findFreeSlot();
    QCOMPARE(found ? found->name : QString(), slot);
    QCOMPARE(readRaw(path()), file);
}

void TestSlotTable::fillWritesRecordAndClaims() {
    const SlotTable table(path());
    QVERIFY(table.create(3));
    const std::optional<ReminderSlot> slot = table.findFreeSlot();
    QVERIFY(slot);
    QCOMPARE(slot->position, 1);
    // Values in the scan's key order: 编号 工程部位 强度等级 配合比编号 制作日期 龄期 养护方式
    // 到期时间 工程量 组数 备注.
    const QStringList values = {
        "1",  "3号楼柱", "C30", "PB-017", "2024-3-7 09:05", "28", "标准养护", "2024-04-04 09:05",
        "36", "2",       ""};
    const std::optional<QStringList> lines = table.fill(*slot, values);
    QVERIFY(lines);
    QCOMPARE(*lines, (QStringList{"编号:1", "强度等级:C30", "工程部位:3号楼柱", "配合比编号:PB-017",
                                  "制作日期:2024-3-7 09:05", "龄期:28", "养护方式:标准养护",
                                  "到期时间:2024-04-04 09:05", "工程量:36", "组数:2", "备注:"}));
    const QByteArray bytes = readRaw(path());
    QVERIFY(
        bytes.startsWith(g("[1|1]\r\n是否显示=1\r\n编号=1\r\n工程部位=3号楼柱\r\n强度等级=C30\r\n"
                           "配合比编号=PB-017\r\n制作日期=2024-3-7 09:05\r\n龄期=28\r\n"
                           "养护方式=标准养护\r\n到期时间=2024-04-04 09:05\r\n工程量=36\r\n"
                           "组数=2\r\n备注=\r\n[1|2]\r\n")));
    QCOMPARE(table.findFreeSlot()->name, QStringLiteral("1|2"));
}

void TestSlotTable::releaseTouchesOnlyFlags() {
    QVERIFY(writeRaw(path(), section("1|1", "1") + g("[1|2]\r\n是否显示=1\r\n备注=加急\r\n") +
                                 section("1|3", "1")));
    // 4|4 is not in the file (a pop-up older than the table): no stray section is added.
    QVERIFY(SlotTable(path()).release({"1|2", "1|3", "4|4"}));
    QCOMPARE(readRaw(path()),
             section("1|1", "1") + g("[1|2]\r\n是否显示=0\r\n备注=加急\r\n") + section("1|3", "0"));
    QFile::remove(path());
    QVERIFY(SlotTable(path()).release({"1|1"}));
    QVERIFY(!QFile::exists(path()));
}

QTEST_GUILESS_MAIN(TestSlotTable)
#include "tst_slottable.moc"
