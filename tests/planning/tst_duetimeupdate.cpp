// Writing projected due times into a.bz: only fields 5 and 6 of the same-condition records whose
// projection differs change; every other byte stays; the write is all or nothing.

#include <QTemporaryDir>
#include <QTest>

#include "planning/duetimeupdate.h"
#include "planning/sameconditionmodel.h"
#include "planning/temperaturelog.h"
#include "platform/gbkcodec.h"
#include "support/failingsavefile.h"

namespace {

// 20 ℃ every day of 2024 up to 31 March: 30 days make 600 ℃·d; later days are estimated at 20 ℃.
TemperatureLog mildLog() {
    TemperatureLog log;
    for (QDate d(2024, 1, 1); d <= QDate(2024, 3, 31); d = d.addDays(1)) log.setDay(d, 200);
    return log;
}

const QDateTime kNow(QDate(2024, 3, 10), QTime(12, 0));

QByteArray bytesOf(const QStringList& lines, const char* lineEnd = "\r\n") {
    return gbk::encode(lines.join(QString::fromLatin1(lineEnd)));
}

}  // namespace

class TestDueTimeUpdate : public QObject {
    Q_OBJECT
  private slots:
    void onlyAgeAndDueTimeOfChangedRecords() {
        const QStringList before = {
            "1号柱,C30,PB-1,2024-3-1 09:05,28,2024-03-29 09:05,同级养护,36,2,,",
            "2号柱,C30,PB-2,2024-3-1 09:05,28,2024-03-29 09:05,标准养护,36,2,,",
            "3号梁,C35,PB-3,2024-3-2 23:50,28,2024-03-30 23:50, 同条件养护 ,12,1,备注,到期,多余",
            "短行,C30,PB-4,2024-3-1 09:05,28,2024-03-29 09:05,同级养护,1",
            "4号板,C40,PB-5,2024-3-1 08:00,30,2024-03-31 08:00,同级养护,8,1,,",
            "5号墙,C40,PB-6,2024-2-1 08:00,28,2024-02-29 08:00,同级养护,8,1,,",
            "坏日期,C40,PB-7,2024-2-30 08:00,28,2024-03-29 08:00,同级养护,8,1,,",
            ",,,,,,,,,,"};
        const QStringList after = {
            "1号柱,C30,PB-1,2024-3-1 09:05,30,2024-03-31 09:05,同级养护,36,2,,",
            before[1],
            "3号梁,C35,PB-3,2024-3-2 23:50,30,2024-04-01 23:50, 同条件养护 ,12,1,备注,到期,多余",
            "短行,C30,PB-4,2024-3-1 09:05,30,2024-03-31 09:05,同级养护,1",
            before[4],  // already due at its equivalent age
            before[5],  // due before now: no longer listed
            before[6],  // no casting date to project from
            before[7]};
        // Lines end in CR LF, one in a lone LF, and a line of bytes that are not GBK.
        QByteArray file = bytesOf(before.mid(0, 3)) + "\n\xff\xfe,x\r\n" + bytesOf(before.mid(3));
        file.replace(bytesOf(before.mid(0, 2)), bytesOf(before.mid(0, 2), "\n"));
        QByteArray expected = bytesOf(after.mid(0, 3)) + "\n\xff\xfe,x\r\n" + bytesOf(after.mid(3));
        expected.replace(bytesOf(after.mid(0, 2)), bytesOf(after.mid(0, 2), "\n"));

        SameConditionModel model;
        model.setRecords(findSameConditionRecords(file, 0));
        model.project(mildLog(), kNow);
        QCOMPARE(model.rowCount(), 5);
        const QList<DueTimeChange> changes = model.changes();
        QCOMPARE(changes.size(), 3);
        QCOMPARE(applyDueTimeChanges(file, changes), expected);
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
        const QString path = dir.filePath("a.bz");
        const QByteArray read = bytesOf(
            {"1号柱,C30,PB-1,2024-3-1 09:05,28,2024-03-29 09:05,同级养护,36,2,,", ",,,,,,,,,,"});
        const QList<DueTimeChange> changes = {{{0, read.indexOf('\r')}, "30", "2024-03-31 09:05"}};
        QByteArray onDisk = situation == "changed" ? read + "\r\nnew" : read;
        QFile f(path);
        if (situation != "gone") {
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(onDisk);
            f.close();
        }

        FailingSaveFile save(path, situation == "full" ? read.size() / 2 : read.size() * 2);
        const DueTimeWrite result = writeDueTimeChanges(save, read, changes);
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

QTEST_MAIN(TestDueTimeUpdate)
#include "tst_duetimeupdate.moc"
