// Saving the editor's grid: the exact bytes, GBK, the lines carried through unchanged, and a save
// that fails leaving a.bz exactly as it was.

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/recordsaver.h"
#include "records/specimenrecord.h"

namespace {

const QByteArray kTenCommas = QByteArrayLiteral(",,,,,,,,,,");

RecordGrid emptyEditorGrid() {
    return RecordGrid(2, recordcolumns::kEditorGridColumns);
}

// Appends a record the way the editor's add does: into the trailing row, then a new trailing row.
void addRecord(RecordGrid& grid, const QStringList& fields) {
    const int row = grid.rows() - 1;
    grid.setTextMatrix(row, 0, QString::number(row));
    for (int c = 1; c <= fields.size(); ++c) grid.setTextMatrix(row, c, fields.at(c - 1));
    grid.addItem();
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
        if (m_left <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = QSaveFile::writeData(data, qMin(len, m_left));
        if (n > 0) m_left -= n;
        return n;
    }

  private:
    qint64 m_left;
};

}  // namespace

class TestRecordSaver : public QObject {
    Q_OBJECT
  private slots:
    void gridWithoutRecords();
    void oneRecord();
    void emptyCellsKeepElevenFields();
    void chineseTextIsGbk();
    void saveAndLoadKeepsRecordsInOrder();
    void carriedLinesComeBackInPlace_data();
    void carriedLinesComeBackInPlace();
    void addedRecordFollowsCarriedTail();
    void failedWriteLeavesOldFile();
    void unwritablePathReportsReason();
};

void TestRecordSaver::gridWithoutRecords() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    writeBytes(path, "old content\r\n");
    const SaveResult result = baocuns(emptyEditorGrid(), {}, path);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(readBytes(path), kTenCommas);
}

void TestRecordSaver::oneRecord() {
    RecordGrid grid = emptyEditorGrid();
    addRecord(grid, {"P1", "C30", "M-1", "2024-3-7 09:05", "28", "2024-04-04 09:05", "S", "36", "2",
                     "note"});
    QCOMPARE(
        recordFileBytes(grid, {}),
        QByteArray("P1,C30,M-1,2024-3-7 09:05,28,2024-04-04 09:05,S,36,2,note,\r\n") + kTenCommas);
}

void TestRecordSaver::emptyCellsKeepElevenFields() {
    RecordGrid grid = emptyEditorGrid();
    addRecord(grid, {"P1", "", "", "d", "", "", "", "", "", ""});
    QCOMPARE(recordFileBytes(grid, {}), QByteArray("P1,,,d,,,,,,,\r\n") + kTenCommas);
}

void TestRecordSaver::chineseTextIsGbk() {
    RecordGrid grid = emptyEditorGrid();
    addRecord(grid, {"中文", "C30", "M", "d", "28", "t", "标准养护", "", "", ""});
    const QByteArray bytes = recordFileBytes(grid, {});
    // 中 is D6 D0 and 文 is CE C4 in GBK.
    QVERIFY(bytes.startsWith("\xD6\xD0\xCE\xC4,C30,"));
    QVERIFY(gbk::isValid(bytes));
    QCOMPARE(gbk::decode(bytes), QStringLiteral("中文,C30,M,d,28,t,标准养护,,,,\r\n,,,,,,,,,,"));
}

void TestRecordSaver::saveAndLoadKeepsRecordsInOrder() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    RecordGrid grid = emptyEditorGrid();
    const QList<QStringList> records = {{"3号楼三层柱", "C30", "PB-017", "2024-3-7 09:05", "28",
                                         "2024-04-04 09:05", "标准养护", "36", "2", ""},
                                        {"B", "C25", "M2", "", "", "", "", "", "", "备注"},
                                        {"3号楼三层柱", "C30", "PB-017", "2024-3-7 09:05", "28",
                                         "2024-04-04 09:05", "标准养护", "36", "2", ""}};
    for (const QStringList& r : records) addRecord(grid, r);
    QVERIFY(baocuns(grid, {}, path).ok);

    RecordGrid loaded = emptyEditorGrid();
    QList<CarriedLine> carried;
    const LoadReport report = loadAllRecords(loaded, path, &carried);
    QCOMPARE(report.taken, records.size());
    QVERIFY(carried.isEmpty());
    QCOMPARE(loaded.rows(), grid.rows());
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            QCOMPARE(loaded.textMatrix(r, c), grid.textMatrix(r, c));
}

void TestRecordSaver::carriedLinesComeBackInPlace_data() {
    QTest::addColumn<QByteArray>("file");

    const QByteArray a = "A,C30,M1,d,28,t,S,1,2,,";
    const QByteArray b = "B,C35,M2,d,7,t,S,1,2,r,";
    const QByteArray marked = "X,C30,M9,d,28,t,S,1,2,,到期";  // a due mark the grid would drop
    const QByteArray comma = "Y,C30,M,9,d,28,t,S,1,2,,";      // a comma typed into a field
    const QByteArray notGbk = "Z,C30,M\xFF,d,28,t,S,1,2,,";
    const QByteArray shortLine = "just a note";
    auto lines = [](QList<QByteArray> l) { return l.join("\r\n"); };

    QTest::newRow("before the first record") << lines({marked, a, b, kTenCommas});
    QTest::newRow("between records") << lines({a, comma, b, kTenCommas});
    QTest::newRow("after the last record") << lines({a, b, notGbk, kTenCommas});
    QTest::newRow("several together") << lines({a, shortLine, marked, b, comma, kTenCommas});
    QTest::newRow("only carried lines") << lines({shortLine, notGbk, kTenCommas});
}

void TestRecordSaver::carriedLinesComeBackInPlace() {
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    writeBytes(path, file);

    RecordGrid grid = emptyEditorGrid();
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

    RecordGrid grid = emptyEditorGrid();
    QList<CarriedLine> carried;
    loadAllRecords(grid, path, &carried);
    addRecord(grid, {"N", "C40", "M3", "", "", "", "", "", "", ""});
    QVERIFY(baocuns(grid, carried, path).ok);
    QCOMPARE(readBytes(path), before + "\r\nN,C40,M3,,,,,,,,\r\n" + kTenCommas);
}

void TestRecordSaver::failedWriteLeavesOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    const QByteArray old = "A,C30,M1,d,28,t,S,1,2,,\r\n" + kTenCommas;
    writeBytes(path, old);

    RecordGrid grid = emptyEditorGrid();
    for (int i = 0; i < 200; ++i)
        addRecord(grid, {QString::number(i), "C30", "M", "", "", "", "", "", "", ""});
    const qint64 half = recordFileBytes(grid, {}).size() / 2;
    FailingSaveFile file(path, half);
    const SaveResult result = baocuns(grid, {}, file);

    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(readBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bz"});
}

void TestRecordSaver::unwritablePathReportsReason() {
    QTemporaryDir dir;
    const QString plainFile = dir.filePath(QStringLiteral("plain"));
    writeBytes(plainFile, "x");
    // The data folder would lie inside a regular file: no user, not even root, can write there.
    const SaveResult result = baocuns(emptyEditorGrid(), {}, plainFile + QStringLiteral("/a.bz"));
    QVERIFY(!result.ok);
    QVERIFY(result.error.contains(QStringLiteral("a.bz")));
    QCOMPARE(readBytes(plainFile), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TestRecordSaver)
#include "tst_recordsaver.moc"
