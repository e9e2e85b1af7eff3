// Reading a.bz whole and splitting it into lines, and replacing a file so that a failed write never
// leaves it cut short.

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include "platform/textfile.h"

namespace {

// A save file whose device gives up after `limit` bytes, the way a full disk does.
class FailingSaveFile : public QSaveFile {
  public:
    FailingSaveFile(const QString& name, qint64 limit) : QSaveFile(name), m_limit(limit) {}

  protected:
    qint64 writeData(const char* data, qint64 len) override {
        const qint64 room = m_limit - m_written;
        if (len <= room) {
            m_written += len;
            return QSaveFile::writeData(data, len);
        }
        if (room > 0) {
            QSaveFile::writeData(data, room);
            m_written += room;
        }
        return -1;
    }

  private:
    qint64 m_limit;
    qint64 m_written = 0;
};

bool writeRaw(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readRaw(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool hasChinese(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) return true;
    return false;
}

}  // namespace

class TestTextFile : public QObject {
    Q_OBJECT

  private slots:
    void splitLines_data();
    void splitLines();
    void readMissing();
    void readDirectory();
    void readWithoutPermission();
    void readLinesOfFile();
    void writeExactBytes_data();
    void writeExactBytes();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void writeIntoMissingDirectory();
    void writeOverDirectory();
};

void TestTextFile::splitLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("lines");

    using L = QList<QByteArray>;
    QTest::newRow("empty file") << QByteArray() << L{};
    QTest::newRow("only CR LF") << QByteArray("\r\n") << L{""};
    QTest::newRow("two lone CRs") << QByteArray("\r\r") << L{"", ""};
    QTest::newRow("two lone LFs") << QByteArray("\n\n") << L{"", ""};
    QTest::newRow("LF CR is two line ends") << QByteArray("\n\r") << L{"", ""};
    QTest::newRow("CR LF between lines") << QByteArray("a\r\nb") << L{"a", "b"};
    QTest::newRow("trailing CR LF gives no extra line") << QByteArray("a\r\nb\r\n") << L{"a", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb") << L{"a", "b"};
    QTest::newRow("lone LF") << QByteArray("a\nb") << L{"a", "b"};
    QTest::newRow("trailing lone LF") << QByteArray("a\n") << L{"a"};
    QTest::newRow("no line end at all") << QByteArray(",,,,,,,,,,") << L{",,,,,,,,,,"};
    QTest::newRow("mixed line ends")
        << QByteArray("a\r\nb\rc\nd\r\n\r\ne") << L{"a", "b", "c", "d", "", "e"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << L{"a", "", "b"};
    QTest::newRow("empty lines kept between") << QByteArray("a\r\n\r\nb") << L{"a", "", "b"};
    QTest::newRow("NUL bytes stay in the line")
        << QByteArray("a\0b\r\nc", 6) << L{QByteArray("a\0b", 3), "c"};
    QTest::newRow("GBK bytes are not line ends")
        << QByteArray::fromHex("B5BDC6DA0D0AB5BD")
        << L{QByteArray::fromHex("B5BDC6DA"), QByteArray::fromHex("B5BD")};
}

void TestTextFile::splitLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(::splitLines(bytes), lines);
}

void TestTextFile::readMissing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    const FileContent content = readWholeFile(path);
    QCOMPARE(content.status, FileStatus::Missing);
    QVERIFY(content.bytes.isEmpty());
    QVERIFY(content.error.isEmpty());
    const FileLines lines = readLines(path);
    QCOMPARE(lines.status, FileStatus::Missing);
    QVERIFY(lines.lines.isEmpty());
    QVERIFY(lines.error.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestTextFile::readDirectory() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("a.bz")));
    const FileLines lines = readLines(path);
    QCOMPARE(lines.status, FileStatus::Unreadable);
    QVERIFY(lines.lines.isEmpty());
    QVERIFY2(hasChinese(lines.error), qPrintable(lines.error));
    QVERIFY(QFileInfo(path).isDir());
}

void TestTextFile::readWithoutPermission() {
    if (geteuid() == 0) QSKIP("root reads every file");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    const QByteArray bytes("x,C30,PB-1,,,,,,,,\r\n");
    QVERIFY(writeRaw(path, bytes));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    const FileLines lines = readLines(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(lines.status, FileStatus::Unreadable);
    QVERIFY(lines.lines.isEmpty());
    QVERIFY2(hasChinese(lines.error), qPrintable(lines.error));
    QCOMPARE(readRaw(path), bytes);
}

void TestTextFile::readLinesOfFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    QVERIFY(writeRaw(path, QByteArray::fromHex("B5BDC6DA") + "\r\n,,\r\n"));
    const FileLines lines = readLines(path);
    QCOMPARE(lines.status, FileStatus::Ok);
    QCOMPARE(lines.lines, (QList<QByteArray>{QByteArray::fromHex("B5BDC6DA"), ",,"}));

    QVERIFY(writeRaw(path, QByteArray()));
    const FileLines empty = readLines(path);
    QCOMPARE(empty.status, FileStatus::Ok);
    QVERIFY(empty.lines.isEmpty());
}

void TestTextFile::writeExactBytes_data() {
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray record =
        QByteArray::fromHex("33BAC5C2A5") + ",C30,PB-017,,,,,,,,\r\n,,,,,,,,,,";
    QTest::newRow("new file") << false << record;
    QTest::newRow("replaces a longer file") << true << QByteArray(",,,,,,,,,,");
    QTest::newRow("empties a file") << true << QByteArray();
    QTest::newRow("keeps CR LF and NUL bytes") << true << QByteArray("a\r\n\0\rb", 6);
}

void TestTextFile::writeExactBytes() {
    QFETCH(bool, existing);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    if (existing) QVERIFY(writeRaw(path, QByteArray(5000, 'x')));
    QString error;
    QVERIFY2(writeFileAtomically(path, bytes, &error), qPrintable(error));
    QVERIFY(error.isEmpty());
    QCOMPARE(readRaw(path), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bz"});
}

void TestTextFile::failedWriteKeepsOldFile_data() {
    QTest::addColumn<int>("percent");
    QTest::newRow("device fails at once") << 0;
    QTest::newRow("device fails half-way") << 50;
    QTest::newRow("device fails at the last byte") << 99;
    QTest::newRow("device has room for everything") << 100;
}

// The bytes go to the file completely or not at all.
void TestTextFile::failedWriteKeepsOldFile() {
    QFETCH(int, percent);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    const QByteArray old = QByteArray::fromHex("B5BDC6DA") + ",C30,PB-1,,,,,,,,\r\n,,,,,,,,,,";
    QVERIFY(writeRaw(path, old));

    QByteArray bytes;
    for (int i = 0; i < 2000; ++i) bytes += "3号楼三层柱,C30,PB-017,,,,,,,,\r\n";
    const bool fits = percent == 100;
    {
        FailingSaveFile file(path, bytes.size() * percent / 100);
        QString error;
        QCOMPARE(writeFileAtomically(file, bytes, &error), fits);
        if (!fits) QVERIFY2(hasChinese(error), qPrintable(error));
    }
    QCOMPARE(readRaw(path), fits ? bytes : old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bz"});
}

void TestTextFile::writeIntoMissingDirectory() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone/a.bz"));
    QString error;
    QVERIFY(!writeFileAtomically(path, QByteArray("x"), &error));
    QVERIFY2(hasChinese(error), qPrintable(error));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("gone"))));
}

void TestTextFile::writeOverDirectory() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("a.bz")));
    QString error;
    QVERIFY(!writeFileAtomically(path, QByteArray("x"), &error));
    QVERIFY2(hasChinese(error), qPrintable(error));
    QVERIFY(QFileInfo(path).isDir());
}

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
