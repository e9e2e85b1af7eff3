// Reading a.bz line by line, and replacing a file so that a failed write never cuts it short.

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/textfile.h"
#include "support/failingsavefile.h"

Q_DECLARE_METATYPE(FileStatus)

namespace {

using Lines = QList<QByteArray>;

bool hasChinese(const QString& text) {
    return text.contains(QRegularExpression(QStringLiteral("[\u4E00-\u9FFF]")));
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                               QDir::System);
}

}  // namespace

class TestTextFile : public QObject {
    Q_OBJECT

  private slots:
    void readLines_data() {
        QTest::addColumn<QString>("kind");  // what stands at the path
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<FileStatus>("status");
        QTest::addColumn<Lines>("lines");
        auto file = [](const char* name, const QByteArray& bytes, const Lines& lines) {
            QTest::newRow(name) << "file" << bytes << FileStatus::Ok << lines;
        };
        QTest::newRow("missing") << "missing" << QByteArray() << FileStatus::Missing << Lines{};
        QTest::newRow("folder") << "folder" << QByteArray() << FileStatus::Unreadable << Lines{};
        // Reading a pipe would wait for a writer for ever.
        QTest::newRow("pipe") << "pipe" << QByteArray() << FileStatus::Unreadable << Lines{};
        QTest::newRow("locked") << "locked" << QByteArray("x") << FileStatus::Unreadable << Lines{};
        file("empty file", "", {});
        file("CR LF", "a\r\nb", {"a", "b"});
        file("lone CR", "a\rb", {"a", "b"});
        file("lone LF", "a\nb", {"a", "b"});
        file("trailing line end adds no line", "a\r\nb\r\n", {"a", "b"});
        file("LF CR is two line ends", "\n\r", {"", ""});
        file("mixed, empty lines kept", "a\r\nb\rc\n\r\r\ne", {"a", "b", "c", "", "", "e"});
        file("NUL bytes stay in the line", QByteArray("a\0b\nc", 5), {QByteArray("a\0b", 3), "c"});
    }
    // Whatever stands at the path is left as it was.
    void readLines() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(FileStatus, status);
        QFETCH(Lines, lines);
        if (kind == "locked" && geteuid() == 0) QSKIP("root reads every file");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bz"));
        if (kind == "folder") QVERIFY(QDir().mkdir(path));
        if (kind == "pipe") QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (kind == "file" || kind == "locked") QVERIFY(writeFileAtomically(path, bytes, nullptr));
        if (kind == "locked") QVERIFY(QFile::setPermissions(path, {}));
        const FileLines read = ::readLines(path);
        QCOMPARE(read.status, status);
        QCOMPARE(read.lines, lines);
        QVERIFY2(hasChinese(read.error) == (status == FileStatus::Unreadable),
                 qPrintable(read.error));
        QCOMPARE(entries(dir.path()), kind == "missing" ? QStringList{} : QStringList{"a.bz"});
        QCOMPARE(QFileInfo(path).isDir(), kind == "folder");
        if (kind == "locked") QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        if (kind == "locked") QCOMPARE(readWholeFile(path).bytes, bytes);
    }

    void write_data() {
        QTest::addColumn<int>("room");  // percent of the bytes the device takes; -1: a plain file
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray old = QByteArray::fromHex("B5BDC6DA") + ",C30,PB-1,,,,,,,,\r\n,,,,,,,,,,";
        const QByteArray big = QByteArray("3号楼三层柱,C30,PB-017,,,,,,,,\r\n").repeated(2000);
        QTest::newRow("new file") << -1 << QByteArray() << old;
        QTest::newRow("replaces a longer file") << -1 << QByteArray(5000, 'x') << QByteArray(",,");
        QTest::newRow("empties a file") << -1 << old << QByteArray();
        QTest::newRow("device fails at once") << 0 << old << big;
        QTest::newRow("device fails half-way") << 50 << old << big;
        QTest::newRow("device fails near the end") << 99 << old << big;
        QTest::newRow("device has room for everything") << 100 << old << big;
    }
    // The bytes reach the file completely or not at all, and no temporary file stays behind.
    void write() {
        QFETCH(int, room);
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bz"));
        if (!old.isEmpty()) QVERIFY(writeFileAtomically(path, old, nullptr));
        const bool fits = room < 0 || room == 100;
        QString error;
        FailingSaveFile file(path, bytes.size() * room / 100);
        QCOMPARE(room < 0 ? writeFileAtomically(path, bytes, &error)
                          : writeFileAtomically(file, bytes, &error),
                 fits);
        QVERIFY2(hasChinese(error) == !fits, qPrintable(error));
        QCOMPARE(readWholeFile(path).bytes, fits ? bytes : old);
        QCOMPARE(entries(dir.path()), QStringList{"a.bz"});
    }

    void readBlocks_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("blockSize");
        QTest::newRow("empty file") << QByteArray() << 16;
        QTest::newRow("CR LF split by the block's end")
            << QByteArray("abcdefghijklmno\r\nxy") << 16;
        QTest::newRow("lone CR at the block's end") << QByteArray("abcdefghijklmno\rxy\n") << 16;
        QTest::newRow("LF at the block's end") << QByteArray("abcdefghijklmno\nxy") << 16;
        QTest::newRow("line longer than a block") << QByteArray(100, 'x') + "\r\n,\r\n" << 16;
        QTest::newRow("only line ends") << QByteArray("\r\n\r\r\n\n\n\r").repeated(20) << 16;
        QTest::newRow("records over many blocks")
            << QByteArray("3号楼,C30,PB-1,,,,,,,,\r\n").repeated(5000) + ",,,,,,,,,," << 4096;
    }
    // Blocks hold whole lines and together the whole file: their lines are the file's lines.
    void readBlocks() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, blockSize);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bz"));
        QVERIFY(writeFileAtomically(path, bytes, nullptr));
        LineBlockReader reader(path, blockSize);
        QCOMPARE(reader.size(), bytes.size());
        QByteArray block;
        QByteArray joined;
        Lines lines;
        while (reader.next(block)) {
            QVERIFY(!block.isEmpty());
            // Only the last block may end inside a line, and a CR LF is never split.
            const bool last = joined.size() + block.size() == bytes.size();
            QVERIFY(last || block.endsWith('\n') || block.endsWith('\r'));
            QVERIFY(last || !block.endsWith('\r') ||
                    bytes.at(joined.size() + block.size()) != '\n');
            joined += block;
            QCOMPARE(reader.done(), joined.size());
            forEachLine(block, [&lines](QByteArrayView line) { lines << line.toByteArray(); });
        }
        QCOMPARE(reader.status(), FileStatus::Ok);
        QCOMPARE(joined, bytes);
        QCOMPARE(lines, splitLines(bytes));
    }

    // A producer that gives up (its source could not be read) leaves the old file, without a
    // reason of the writer's own.
    void producerGivesUp() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bz"));
        QVERIFY(writeFileAtomically(path, QByteArray("old"), nullptr));
        QString error;
        const bool written = writeFileAtomically(
            path, [](const ByteWriter& write) { return write("new") && false; }, &error);
        QVERIFY(!written);
        QVERIFY(error.isEmpty());
        QCOMPARE(readWholeFile(path).bytes, QByteArray("old"));
        QCOMPARE(entries(dir.path()), QStringList{"a.bz"});
    }

    // A missing folder or a folder in the file's place: refused, and nothing changes.
    void writeRefused() {
        QTemporaryDir dir;
        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("a.bz"))));
        for (const QString name : {"gone/a.bz", "a.bz"}) {
            QString error;
            QVERIFY(!writeFileAtomically(dir.filePath(name), QByteArray("x"), &error));
            QVERIFY2(hasChinese(error), qPrintable(error));
        }
        QCOMPARE(entries(dir.path()), QStringList{"a.bz"});
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("a.bz"))).isDir());
    }
};

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
