// Saving the editor's grid: the exact bytes, GBK, the lines carried through unchanged, and a save
// that fails leaving a.bz exactly as it was.

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/recordsaver.h"
#include "records/specimenrecord.h"

namespace {

const QByteArray kTenCommas = QByteArrayLiteral(",,,,,,,,,,");

// An editor grid holding the records (each given as its ten fields joined by commas), appended the
// way the editor's add does: into the trailing row, then a new trailing row.
RecordGrid editorGrid(const QStringList& records) {
    RecordGrid grid(2, recordcolumns::kEditorGridColumns);
    for (const QString& record : records) {
        const QStringList fields = record.split(u',');
        const int row = grid.rows() - 1;
        grid.setTextMatrix(row, 0, QString::number(row));
        for (int c = 1; c <= fields.size(); ++c) grid.setTextMatrix(row, c, fields.at(c - 1));
        grid.addItem();
    }
    return grid;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A save file whose device stops accepting bytes after the first `limit` bytes.
class FailingSaveFile : public QSaveFile {
  public:
    FailingSaveFile(const QString& name, qint64 limit) : QSaveFile(name), m_left(limit) {}

  protected:
    qint64 writeData(const char* data, qint64 len) override {
        if (m_left <= 0) return -1;
        const qint64 n = QSaveFile::writeData(data, qMin(len, m_left));
        m_left -= qMax<qint64>(n, 0);
        return n;
    }

  private:
    qint64 m_left;
};

}  // namespace

class TestRecordSaver : public QObject {
    Q_OBJECT
  private slots:
    void savesGrid_data();
    void savesGrid();
    void carriedLinesComeBackInPlace_data();
    void carriedLinesComeBackInPlace();
    void addedRecordFollowsCarriedTail();
    void failedWriteLeavesOldFile();
};

void TestRecordSaver::savesGrid_data() {
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("no records: ten commas only") << QStringList() << kTenCommas;
    QTest::newRow("one record, CR LF, ten commas")
        << QStringList{"P1,C30,M-1,2024-3-7 09:05,28,2024-04-04 09:05,S,36,2,note"}
        << "P1,C30,M-1,2024-3-7 09:05,28,2024-04-04 09:05,S,36,2,note,\r\n" + kTenCommas;
    QTest::newRow("empty cells keep eleven fields")
        << QStringList{"P1,,,d,,,,,,", "P2,C25,,,,,,,,"}
        << "P1,,,d,,,,,,,\r\nP2,C25,,,,,,,,,\r\n" + kTenCommas;
    // 中 is D6 D0 and 文 is CE C4 in GBK.
    QTest::newRow("Chinese in GBK") << QStringList{"中文,C30,M,d,28,t,,,,"}
                                    << "\xD6\xD0\xCE\xC4,C30,M,d,28,t,,,,,\r\n" + kTenCommas;
}

void TestRecordSaver::savesGrid() {
    QFETCH(QStringList, records);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    writeBytes(path, "old content\r\n");
    const SaveResult result = baocuns(editorGrid(records), {}, path);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(readBytes(path), bytes);
}

void TestRecordSaver::carriedLinesComeBackInPlace_data() {
    QTest::addColumn<QByteArray>("file");

    const QByteArray a = gbk::encode(u"A,C30,M1,d,28,t,标准养护,1,2,,");
    const QByteArray b = "B,C35,M2,d,7,t,S,1,2,r,";
    const QByteArray marked = gbk::encode(u"X,C30,M9,d,28,t,S,1,2,,到期");  // the grid drops it
    const QByteArray comma = "Y,C30,M,9,d,28,t,S,1,2,,";  // a comma typed into a field
    const QByteArray notGbk = "Z,C30,M\xFF,d,28,t,S,1,2,,";
    const QByteArray note = "just a note";
    auto lines = [](QList<QByteArray> l) { return l.join("\r\n"); };

    QTest::newRow("before the first record") << lines({marked, a, b, kTenCommas});
    QTest::newRow("between records") << lines({a, comma, b, kTenCommas});
    QTest::newRow("after the last record") << lines({a, b, notGbk, kTenCommas});
    QTest::newRow("several together") << lines({a, note, marked, b, comma, kTenCommas});
    QTest::newRow("only carried lines") << lines({note, notGbk, kTenCommas});
}

void TestRecordSaver::carriedLinesComeBackInPlace() {
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    writeBytes(path, file);

    RecordGrid grid = editorGrid({});
    QList<CarriedLine> carried;
    loadAllRecords(grid, path, &carried);
    QVERIFY(!carried.isEmpty());
    QVERIFY(baocuns(grid, carried, path).ok);
    QCOMPARE(readBytes(path), file);
}

void TestRecordSaver::addedRecordFollowsCarriedTail() {
    const QByteArray before = "A,C30,M1,d,28,t,S,1,2,,\r\nonly text";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    writeBytes(path, before + "\r\n" + kTenCommas);

    RecordGrid grid = editorGrid({});
    QList<CarriedLine> carried;
    loadAllRecords(grid, path, &carried);
    const int row = grid.rows() - 1;
    grid.setTextMatrix(row, 1, QStringLiteral("N"));
    grid.addItem();
    QVERIFY(baocuns(grid, carried, path).ok);
    QCOMPARE(readBytes(path), before + "\r\nN,,,,,,,,,,\r\n" + kTenCommas);
}

void TestRecordSaver::failedWriteLeavesOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    const QByteArray old = "A,C30,M1,d,28,t,S,1,2,,\r\n" + kTenCommas;
    writeBytes(path, old);

    const RecordGrid grid = editorGrid(QStringList(200, QStringLiteral("P,C30,M,,,,,,,")));
    FailingSaveFile file(path, recordFileBytes(grid, {}).size() / 2);
    const SaveResult result = baocuns(grid, {}, file);

    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(readBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bz"});
}

QTEST_GUILESS_MAIN(TestRecordSaver)
#include "tst_recordsaver.moc"
