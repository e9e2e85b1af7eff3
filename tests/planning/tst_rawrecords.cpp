// The raw bytes of a.bz: the week ahead selected from them (range, order, groups, sums, overdue
// lines), the same-condition records, and their new due times written into them: only fields 5 and
// 6 of the records whose projection differs change, every other byte stays, all or nothing.

#include <QTemporaryDir>
#include <QTest>

#include "planning/duetimeupdate.h"
#include "planning/sameconditionmodel.h"
#include "planning/sameconditionrecords.h"
#include "planning/temperaturelog.h"
#include "planning/weekahead.h"
#include "platform/gbkcodec.h"
#include "support/failingsavefile.h"

namespace {

QString line(const char* part, const char* due, const char* groups = "2",
             const char* method = "标准养护") {
    return QStringLiteral("%1,C30,PB-017,2024-3-7 09:05,28,%2,%3,36,%4,,")
        .arg(QString::fromUtf8(part), QString::fromUtf8(due), QString::fromUtf8(method),
             QString::fromUtf8(groups));
}

// a.bz as the lab leaves it, today being Thursday 2024-04-04.
QByteArray labFile() {
    const QStringList lines = {
        line("A", "2024-04-04 09:05"),
        line("B", "2024-04-03 23:59", "3"),
        line("C", "2024-04-10 23:59", "x"),
        line("D", "2024-04-11 00:00"),
        line("E", "2024-04-04 08:00", "2组"),
        line("F", "2024-04-04 08:00", " 1"),
        QStringLiteral("G,C30,PB,2023-12-31 10:00,28,2023-12-31 10:00,标准养护,1,1,,到期"),
        QStringLiteral("H,C30"),
        QStringLiteral(",,,,,,,,,,"),
        line("I", "2024-4-5 09:00"),
        line("J", "2024-04-05"),
        QStringLiteral("K,C30,PB,2024-3-7 09:05,28,2024-04-05 10:00,标准养护,1,4,备注,到期,多余"),
        line("L", "2024-02-30 10:00"),
        line("M", "2024-05-01 10:00"),
        line("N", "　2024-04-05 9:5 "),  // read as the scan reads it: 09:05
    };
    return gbk::encode(lines.join(QStringLiteral("\r\n"))) +
           "\r\n\xb5,C30,x,y,z,2024-04-06 10:00,k,l,1,n,";
}

// "date count/groups: parts | ...", "overdue" for the group of earlier days.
QString render(const WeekAhead& week, QByteArrayView bytes) {
    QStringList groups;
    for (const WeekAheadGroup& g : week.groups) {
        QStringList parts;
        for (int i = g.first; i < g.first + g.count; ++i) {
            const rawline::Span s = week.entries.at(i).line;
            parts << gbk::decode(bytes.sliced(s.start, s.length)).section(u',', 0, 0);
        }
        groups << QStringLiteral("%1 %2/%3: %4")
                      .arg(g.date.isValid() ? g.date.toString(Qt::ISODate) : "overdue")
                      .arg(g.count)
                      .arg(g.groups)
                      .arg(parts.join(u' '));
    }
    return groups.join(QStringLiteral(" | "));
}

}  // namespace

class TestRawRecords : public QObject {
    Q_OBJECT
  private slots:
    void weekAhead_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("groups");
        QTest::newRow("a week from today")
            << labFile() << 7
            << "overdue 2/4: G B | 2024-04-04 3/5: E F A | 2024-04-05 3/8: J N K | "
               "2024-04-06 1/1: \uFFFD | 2024-04-10 1/0: C";
        QTest::newRow("today only") << labFile() << 1 << "overdue 2/4: G B | 2024-04-04 3/5: E F A";
        QTest::newRow("every kind of line end")
            << gbk::encode(line("A", "2024-04-05 10:00") + "\r" + line("B", "2024-04-05 09:00") +
                           "\n\r" + line("C", "2024-04-01 09:00") + "\r\r\n" +
                           line("D", "2024-04-06 08:00") + "\n")
            << 7 << "overdue 1/2: C | 2024-04-05 2/4: B A | 2024-04-06 1/2: D";
    }
    void weekAhead() {
        QFETCH(QByteArray, file);
        QFETCH(int, days);
        QTEST(render(selectWeekAhead(file, QDate(2024, 4, 4), days), file), "groups");
    }

    void sameCondition_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<bool>("selected");
        QTest::newRow("blanks and tabs around") << " \t同条件养护  " << true;
        QTest::newRow("full-width blanks around") << "　同级养护　" << true;
        QTest::newRow("standard curing") << "标准养护" << false;
        QTest::newRow("text after") << "同级养护2" << false;
        QTest::newRow("a character before") << "啊同级养护" << false;
    }
    void sameCondition() {
        QFETCH(QString, method);
        const QString y = line("Y", "2024-04-30 09:05", "2", qUtf8Printable(method));
        const QByteArray file =
            gbk::encode(line("X", "2024-04-30 09:05") + "\r\n" + y + "\r\n同级养护,同级养护");
        const QList<SameConditionRecord> found = findSameConditionRecords(file, 202404300904);
        QTEST(found.size() == 1, "selected");
        if (found.isEmpty()) return;
        QCOMPARE(gbk::decode(file.sliced(found[0].line.start, found[0].line.length)), y);
        QCOMPARE(found[0].dueKey.value_or(0), 202404300905);
        QVERIFY(findSameConditionRecords(file, 202404300905).isEmpty());  // due by then
    }

    void onlyAgeAndDueTimeOfChangedRecords() {
        const QString before = QStringLiteral(
            "1号柱,C30,PB-1,2024-3-1 09:05,28,2024-03-29 09:05,同级养护,36,2,,\n"
            "2号柱,C30,PB-2,2024-3-1 09:05,28,2024-03-29 09:05,标准养护,36,2,,\r\n"
            "3号梁,C35,PB-3,2024-3-2 23:50,28,2024-03-30 23:50, 同条件养护 ,12,1,备注,到期,多余\r\n"
            "短行,C30,PB-4,2024-3-1 09:05,28,2024-03-29 09:05,同级养护,1\r\n"
            // Already due at its equivalent age, due before now, no casting date to project from.
            "4号板,C40,PB-5,2024-3-1 08:00,30,2024-03-31 08:00,同级养护,8,1,,\r\n"
            "5号墙,C40,PB-6,2024-2-1 08:00,28,2024-02-29 08:00,同级养护,8,1,,\r\n"
            "坏日期,C40,PB-7,2024-2-30 08:00,28,2024-03-29 08:00,同级养护,8,1,,\r\n"
            ",,,,,,,,,,");
        const QString after =
            QString(before)
                .replace("09:05,28,2024-03-29 09:05,同级", "09:05,30,2024-03-31 09:05,同级")
                .replace("23:50,28,2024-03-30 23:50", "23:50,30,2024-04-01 23:50");
        const QByteArray notGbk = "\xff\xfe,x\r\n";  // moves every line after it

        TemperatureLog log;  // 20 ℃ up to 31 March, estimated at 20 ℃ after it
        for (QDate d(2024, 1, 1); d <= QDate(2024, 3, 31); d = d.addDays(1)) log.setDay(d, 200);
        SameConditionModel model;
        model.setRecords(findSameConditionRecords(notGbk + gbk::encode(before), 0));
        model.project(log, QDateTime(QDate(2024, 3, 10), QTime(12, 0)));
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.changes().size(), 3);
        QCOMPARE(applyDueTimeChanges(notGbk + gbk::encode(before), model.changes()),
                 notGbk + gbk::encode(after));
    }

    void write_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("fileChanged");
        QTest::newRow("written") << "" << true << false;
        QTest::newRow("a.bz changed since it was read") << "changed" << false << true;
        QTest::newRow("a.bz gone since it was read") << "gone" << false << true;
        QTest::newRow("disk full half-way") << "full" << false << false;
    }
    void write() {
        QFETCH(QString, situation);
        QTemporaryDir dir;
        QFile f(dir.filePath("a.bz"));
        const QByteArray read = gbk::encode(
            u"1号柱,C30,PB-1,2024-3-1 09:05,28,2024-03-29 09:05,同级养护,36,2,,\r\n,,,,,,,,,,");
        const QList<DueTimeChange> changes = {{{0, read.indexOf('\r')}, "30", "2024-03-31 09:05"}};
        const QByteArray onDisk = situation == "changed" ? read + "\r\nnew" : read;
        if (situation != "gone") QVERIFY(f.open(QIODevice::WriteOnly) && f.write(onDisk) > 0);
        f.close();

        FailingSaveFile save(f.fileName(), situation == "full" ? read.size() / 2 : read.size() * 2);
        const DueTimeWrite result =
            writeDueTimeChanges(save, read, changes, QDateTime(QDate(2024, 3, 10), QTime(12, 0)));
        QTEST(result.ok, "ok");
        QTEST(result.fileChanged, "fileChanged");
        QCOMPARE(result.error.isEmpty(), result.ok || result.fileChanged);
        // Nothing but a.bz in the folder: no temporary file left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), situation == "gone" ? 0 : 1);
        if (situation == "gone") return;
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), result.ok ? applyDueTimeChanges(read, changes) : onDisk);
    }
};

QTEST_MAIN(TestRawRecords)
#include "tst_rawrecords.moc"
