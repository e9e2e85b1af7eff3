// The reminder slots: the profile writer behind ts.ini, the slot table's size and exact bytes, the
// first-free rule, freeing stale slots, and where each slot's pop-up stands on the screen.

#include <QRect>
#include <QTemporaryDir>
#include <QTest>

#include "platform/screenmetrics.h"
#include "reminders/popupplacement.h"
#include "reminders/reminderfiles.h"
#include "reminders/slottable.h"

using namespace reminderfiles;
using B = QByteArray;

namespace {

// One slot as a fresh table holds it.
B section(const QString& name, const char* flag = "0") {
    return g("[") + name.toLatin1() + g("]\r\n是否显示=") + flag +
           g("\r\n编号=0\r\n工程部位=0\r\n强度等级=0\r\n配合比编号=0\r\n制作日期=0\r\n"
             "龄期=0\r\n养护方式=0\r\n到期时间=0\r\n工程量=0\r\n组数=0\r\n备注=0\r\n");
}

}  // namespace

class TestSlotTable : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("ts.ini")); }

  private slots:
    void writeEntry_data() {
        QTest::addColumn<B>("before");       // null: no file
        QTest::addColumn<QString>("entry");  // section, key and value, split at blanks
        QTest::addColumn<B>("after");
        // clang-format off
        QTest::newRow("new file") << B() << "1|1 备注 加急" << g("[1|1]\r\n备注=加急\r\n");
        QTest::newRow("replaced in place, LF kept") << B("[a]\nk=old\nz=2\n[b]\nk=b\n") << "a k new"
            << B("[a]\nk=new\nz=2\n[b]\nk=b\n");
        QTest::newRow("new key ends its section") << B("[a]\r\nx=1\r\n\r\n[b]\r\n") << "a k v"
            << B("[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\n");
        QTest::newRow("comments, spacing, junk kept") << B("; n\r\n[a]\r\n x = 1 \r\njunk\r\n")
            << "a y 2" << B("; n\r\n[a]\r\n x = 1 \r\njunk\r\ny=2\r\n");
        QTest::newRow("half a GBK character is no header") << g("[a]\r\n[x癩\r\nk=1\r\n") << "a k 2"
            << g("[a]\r\n[x癩\r\nk=2\r\n");
        QTest::newRow("line breaks become blanks") << B("[a]\r\n") << "a k x\r\ny"
            << B("[a]\r\nk=x  y\r\n");
        // clang-format on
    }
    void writeEntry() {
        QFETCH(B, before);
        QFETCH(QString, entry);
        QFETCH(B, after);
        const QStringList e = entry.split(u' ');
        QVERIFY(writeRaw(path(), before));
        QVERIFY(writeProfileString(path(), e[0], e[1], e[2]));
        QCOMPARE(readRaw(path()), after);
        QCOMPARE(ReadProfileValue(e[0], e[1], path()),
                 QString(e[2]).replace(u'\r', u' ').replace(u'\n', u' '));
    }

    // Positions per group for the screen height; a leftover table of another size is replaced.
    void freshTable_data() {
        QTest::addColumn<int>("heightPixels");
        QTest::addColumn<int>("positions");
        QTest::newRow("768 px") << 768 << 3;
        QTest::newRow("1024 px, 5.505 rounds up") << 1024 << 5;
        QTest::newRow("279 px, 1.5 goes to the even 2") << 279 << 1;
        QTest::newRow("278 px, too low: no table") << 278 << 0;
    }
    void freshTable() {
        QFETCH(int, heightPixels);
        QFETCH(int, positions);
        QCOMPARE(SlotTable::positionsPerGroup(FixedScreenMetrics(1024, heightPixels, 0)),
                 positions);
        QVERIFY(writeRaw(path(), section("1|1", "1") + section("9|9", "1")));
        QVERIFY(SlotTable(path()).create(positions));
        B table;
        for (int group = 1; group <= 5; ++group)
            for (int p = 1; p <= positions; ++p)
                table += section(QString("%1|%2").arg(group).arg(p));
        QCOMPARE(readRaw(path()), positions ? table : B("<unreadable>"));
    }

    // The first slot in file order whose flag reads as 0, found without a write; at start-up every
    // busy slot is freed, and only the flags change.
    void freeSlot_data() {
        QTest::addColumn<B>("file");
        QTest::addColumn<QString>("slot");
        QTest::addColumn<B>("released");  // null: no change
        const B busy = section("1|1", "1"), free = section("1|1");
        // clang-format off
        QTest::newRow("group 1 busy, a record kept") << g("[1|1]\r\n是否显示=1\r\n编号=7\r\n")
            + section("1|2", "1") + section("2|1") << "2|1"
            << g("[1|1]\r\n是否显示=0\r\n编号=7\r\n") + section("1|2") + section("2|1");
        QTest::newRow("every slot busy") << busy + section("2|1", "1") << ""
            << free + section("2|1");
        QTest::newRow("file order") << section("2|1") + free << "2|1" << B();
        QTest::newRow("flag read as a number") << section("1|1", "0.0") << "1|1" << B();
        QTest::newRow("no, empty or non-numeric flag") << g("[1|1]\r\n编号=0\r\n")
            + section("1|2", "") + section("1|3", "abc") + section("1|4") << "1|4"
            << g("[1|1]\r\n编号=0\r\n") + section("1|2") + section("1|3") + section("1|4");
        QTest::newRow("names of no slot") << section("abc", "1") + section("0|1") + section("01|1")
            + section("1|2") << "1|2" << B();
        QTest::newRow("LF line ends") << B(busy + section("1|2")).replace("\r\n", "\n") << "1|2"
            << B(free + section("1|2")).replace("\r\n", "\n");
        QTest::newRow("no file: none made") << B() << "" << B();
        // clang-format on
    }
    void freeSlot() {
        QFETCH(B, file);
        QFETCH(QString, slot);
        QFETCH(B, released);
        QVERIFY(writeRaw(path(), file));
        const std::optional<ReminderSlot> found = SlotTable(path()).findFreeSlot();
        QCOMPARE(found ? found->name : QString(), slot);
        QVERIFY(SlotTable(path()).releaseAll());
        QCOMPARE(readRaw(path()),
                 released.isNull() ? (file.isNull() ? "<unreadable>" : file) : released);
    }

    // Pop-ups of 324 x 173 pixels in every group, on the primary screen's available area.
    void placement_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("position");
        QTest::addColumn<QList<int>>("lefts");  // groups 1 to 5
        QTest::addColumn<int>("top");
        const QList<int> narrow = {700, 376, 52, 0, 0};  // groups 4 and 5 kept on the screen
        // clang-format off
        QTest::newRow("768 px, bottom taskbar") << QRect(0, 0, 1024, 728) << 1 << narrow << 555;
        QTest::newRow("768 px, too high a position") << QRect(0, 0, 1024, 728) << 9 << narrow << 0;
        QTest::newRow("1080 px, taskbar on the right") << QRect(0, 0, 1856, 1080) << 1
            << QList<int>{1532, 1208, 884, 560, 236} << 907;
        QTest::newRow("primary right of another screen") << QRect(1920, 0, 1280, 984) << 1
            << QList<int>{2876, 2552, 2228, 1920, 1920} << 811;
        QTest::newRow("primary left of and below the origin") << QRect(-1280, 200, 1280, 984) << 2
            << QList<int>{-324, -648, -972, -1280, -1280} << 838;
        // clang-format on
    }
    void placement() {
        QFETCH(QRect, area);
        QFETCH(int, position);
        QFETCH(QList<int>, lefts);
        QFETCH(int, top);
        const FixedScreenMetrics screen(QRect(area.topLeft(), QSize(area.width(), 1080)), area);
        for (int group = 1; group <= 5; ++group)
            QCOMPARE(popupTopLeft(screen, {324, 173}, group, position),
                     QPoint(lefts[group - 1], top));
    }
};

QTEST_GUILESS_MAIN(TestSlotTable)
#include "tst_slottable.moc"
