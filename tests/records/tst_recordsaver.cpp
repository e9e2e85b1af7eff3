// Saving the editor's grid: exact GBK bytes, carried lines back in place, failed saves harmless.

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/recordsaver.h"
#include "records/specimenrecord.h"
#include "support/failingsavefile.h"

namespace {

const QByteArray kTenCommas(",,,,,,,,,,");

// Appends a record (its fields joined by commas) the way the editor does: into the trailing row,
// then a new trailing row.
void addRecord(RecordGrid& grid, const QString& record) {
    const QStringList fields = record.split(u',');
    const int row = grid.rows() - 1;
    grid.setTextMatrix(row, 0, QString::number(row));
    for (int c = 1; c <= fields.size(); ++c) grid.setTextMatrix(row, c, fields.at(c - 1));
    grid.addItem();
}

}  // namespace

class TestRecordSaver : public QObject {
    Q_OBJECT
  private slots:
    void loadAndSave_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("edits");  // "-" removes the first record, others are added
        QTest::addColumn<QByteArray>("saved");
        const QString one = "P1,,M-1,2024-3-7 09:05,28,2024-04-04 09:05,S,36,2,note";
        const QByteArray a = gbk::encode(u"A,C30,M1,d,28,t,标准养护,1,2,,");
        const QByteArray b = "B,C35,M2,d,7,t,S,1,2,r,";
        const QByteArray marked = gbk::encode(u"X,C30,M9,d,28,t,S,1,2,,到期");
        const QByteArray comma = "Y,C30,M,9,d,28,t,S,1,2,,";  // a comma typed into a field
        const QByteArray notGbk = "Z,C30,M\xFF,d,28,t,S,1,2,,";
        auto same = [](const char* name, const QList<QByteArray>& lines) {
            const QByteArray file = (lines + QList{kTenCommas}).join("\r\n");
            QTest::newRow(name) << file << QStringList() << file;
        };
        QTest::newRow("no records: ten commas") << QByteArray() << QStringList() << kTenCommas;
        QTest::newRow("one record, CR LF, ten commas")
            << QByteArray() << QStringList{one} << one.toLatin1() + ",\r\n" + kTenCommas;
        QTest::newRow("Chinese in GBK")
            << QByteArray() << QStringList{"中文,C30", "P2"}
            << "\xD6\xD0\xCE\xC4,C30,,,,,,,,,\r\nP2,,,,,,,,,,\r\n" + kTenCommas;
        same("Chinese records come back byte for byte", {a, b});
        same("carried before the first record", {marked, a, b});
        same("carried after the last record", {a, b, notGbk});
        same("several carried together", {a, "note", marked, b, comma});
        same("only carried lines", {"note", notGbk});
        QTest::newRow("added record goes below a carried last line")
            << a + "\r\nnote\r\n" + kTenCommas << QStringList{"N"}
            << a + "\r\nnote\r\nN,,,,,,,,,,\r\n" + kTenCommas;
        QTest::newRow("carried line kept when records are removed")
            << a + "\r\n" + b + "\r\nnote\r\n" + kTenCommas << QStringList{"-", "-"}
            << "note\r\n" + kTenCommas;
    }
    // Loading a.bz into the editor and saving writes back what was read, with the edits.
    void loadAndSave() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, edits);
        QFETCH(QByteArray, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bz"));
        if (!file.isNull()) QVERIFY(writeFileAtomically(path, file, nullptr));
        RecordGrid grid(2, recordcolumns::kEditorGridColumns);
        QList<CarriedLine> carried;
        loadAllRecords(grid, path, &carried);
        for (const QString& edit : edits) edit == "-" ? grid.removeItem(1) : addRecord(grid, edit);
        const SaveResult result = baocuns(grid, carried, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(readWholeFile(path).bytes, saved);
        // A save that fails half-way (a full disk) leaves the file as it was.
        FailingSaveFile failing(path, saved.size() / 2);
        QVERIFY(!baocuns(grid, carried, failing).ok);
        QCOMPARE(readWholeFile(path).bytes, saved);
    }

    void interruptedSave_data() {
        QTest::addColumn<qint64>("room");   // bytes the device takes before it fails
        constexpr qint64 kChunk = 1 << 20;  // what the save writes at a time
        QTest::newRow("nothing") << qint64(0);
        QTest::newRow("one byte") << qint64(1);
        QTest::newRow("one byte short of the first write") << kChunk - 1;
        QTest::newRow("the first write exactly") << kChunk;
        QTest::newRow("one byte into the second write") << kChunk + 1;
        QTest::newRow("all but the last byte") << qint64(-1);
    }
    // A save of a long file that fails at any point (a full disk) leaves a.bz as it was and no
    // temporary file behind.
    void interruptedSave() {
        QFETCH(qint64, room);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bz"));
        const QByteArray record = gbk::encode(
            u"3号楼三层柱,C30,PB-017,2024-3-7 09:05,28,"
            u"2024-04-04 09:05,标准养护,36,2,,\r\n");
        const QByteArray old = record.repeated(40000) + "note\r\n" + kTenCommas;
        QVERIFY(writeFileAtomically(path, old, nullptr));
        RecordGrid grid(2, recordcolumns::kEditorGridColumns);
        QList<CarriedLine> carried;
        loadAllRecords(grid, path, &carried);
        addRecord(grid, QStringLiteral("新,C35"));
        const QByteArray saved = recordFileBytes(grid, carried);
        QVERIFY(saved.size() > 2 * (1 << 20));
        FailingSaveFile failing(path, room < 0 ? saved.size() - 1 : room);
        const SaveResult result = baocuns(grid, carried, failing);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(readWholeFile(path).bytes, old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bz"});
        FailingSaveFile roomy(path, saved.size());
        QVERIFY(baocuns(grid, carried, roomy).ok);
        QCOMPARE(readWholeFile(path).bytes, saved);
        QCOMPARE(saved, old.chopped(10) + gbk::encode(u"新,C35,,,,,,,,,\r\n") + kTenCommas);
    }
};

QTEST_GUILESS_MAIN(TestRecordSaver)
#include "tst_recordsaver.moc"
