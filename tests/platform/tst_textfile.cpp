// Reading a.bz whole and in blocks; replacing a file so that a failed write never cuts it short.

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>

#include <thread>
#else
#include <sys/stat.h>
#endif

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
    void read_data() {
        QTest::addColumn<QString>("kind");  // what stands at the path
        QTest::addColumn<FileStatus>("status");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Lines>("lines");
        auto row = [](const char* name, const char* kind, FileStatus status,
                      const QByteArray& bytes, const Lines& lines) {
            QTest::newRow(name) << kind << status << bytes << lines;
        };
        auto file = [&row](const char* name, const QByteArray& bytes, const Lines& lines) {
            row(name, "file", FileStatus::Ok, bytes, lines);
        };
        row("missing", "missing", FileStatus::Missing, {}, {});
        row("folder", "folder", FileStatus::Unreadable, {}, {});
        row("pipe, which would wait for a writer", "pipe", FileStatus::Unreadable, {}, {});
        file("empty file", "", {});
        file("trailing line end adds no line", "a\r\nb\r\n", {"a", "b"});
        file("LF CR is two line ends", "\n\r", {"", ""});
        file("mixed, empty lines kept", "a\r\nb\rc\n\r\r\ne", {"a", "b", "c", "", "", "e"});
        file("NUL bytes stay in the line", QByteArray("a\0b\nc", 5), {QByteArray("a\0b", 3), "c"});
        // Blocks of 16 bytes.
        file("CR LF split by the block's end", "abcdefghijklmno\r\nxy", {"abcdefghijklmno", "xy"});
        file("lone CR at the block's end", "abcdefghijklmno\rxy\n", {"abcdefghijklmno", "xy"});
        file("LF at the block's end", "abcdefghijklmno\nxy", {"abcdefghijklmno", "xy"});
        file("line longer than a block", QByteArray(100, 'x') + "\r\n,\r\n",
             {QByteArray(100, 'x'), ","});
        file("only line ends", QByteArray("\r\n\r\r\n\n\n\r").repeated(20), Lines(120));
    }
    // The whole file and the block reader see the same lines; whatever stands at the path is left
    // as it was.
    void read() {
        QFETCH(QString, kind);
        QFETCH(FileStatus, status);
        QFETCH(QByteArray, bytes);
        QFETCH(Lines, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bz"));
        if (kind == "folder") QVERIFY(QDir().mkdir(path));
#ifdef Q_OS_WIN
        if (kind == "pipe") QSKIP("no named pipes in the file system");
#else
        if (kind == "pipe") QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        if (kind == "file") QVERIFY(writeFileAtomically(path, bytes, nullptr));
        const FileLines read = readLines(path);
        QCOMPARE(read.status, status);
        QCOMPARE(read.lines, lines);
        QVERIFY2(hasChinese(read.error) == (status == FileStatus::Unreadable),
                 qPrintable(read.error));
        LineBlockReader reader(path, 16);
        QCOMPARE(reader.status(), status);
        QByteArray block, joined;
        Lines blockLines;
        while (reader.next(block)) {
            joined += block;
            QCOMPARE(reader.done(), joined.size());
            forEachLine(block,
                        [&blockLines](QByteArrayView line) { blockLines << line.toByteArray(); });
        }
        QCOMPARE(joined, status == FileStatus::Ok ? bytes : QByteArray());
        QCOMPARE(blockLines, lines);
        QCOMPARE(entries(dir.path()), kind == "missing" ? QStringList{} : QStringList{"a.bz"});
    }

    void write_data() {
        // Where to write, in a folder that holds a.bz and a folder "dir"; the bytes the device
        // takes, or -1 for a plain file and -2 for a producer that gives up.
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("room");
        QTest::addColumn<QByteArray>("bytes");
        constexpr qint64 kChunk = 1 << 20;  // what the writer writes at a time
        const QByteArray big = QByteArray("3号楼三层柱,C30,PB-017,,,,,,,,\r\n").repeated(80000);
        auto row = [](const char* name, const char* file, qint64 room, const QByteArray& bytes) {
            QTest::newRow(name) << file << room << bytes;
        };
        row("replaces a longer file", "a.bz", -1, ",,");
        row("empties a file", "a.bz", -1, "");
        row("device fails one byte into the second write", "a.bz", kChunk + 1, big);
        row("device fails at the last byte", "a.bz", big.size() - 1, big);
        row("device has room for everything", "a.bz", big.size(), big);
        row("producer gives up, without a reason", "a.bz", -2, big);
        row("missing folder", "gone/a.bz", -1, big);
        row("folder in the file's place", "dir", -1, big);
    }
    // The bytes reach the file completely or not at all, and no temporary file stays behind.
    void write() {
        QFETCH(QString, name);
        QFETCH(qint64, room);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const QString old = dir.filePath(QStringLiteral("a.bz"));
        QVERIFY(writeFileAtomically(old, QByteArray(5000, 'x'), nullptr));
        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("dir"))));
        const bool fits = room == -1 ? name == "a.bz" : room >= bytes.size();
        // Given in pieces, as the record saver gives them.
        auto produce = [&bytes, room](const ByteWriter& write) {
            for (qsizetype at = 0; at < bytes.size(); at += 4096)
                if (!write(bytes.mid(at, 4096))) return false;
            return room != -2;
        };
        QString error;
        FailingSaveFile file(path, room);
        QCOMPARE(room == -1   ? writeFileAtomically(path, bytes, &error)
                 : room == -2 ? writeFileAtomically(path, produce, &error)
                              : writeFileAtomically(file, produce, &error),
                 fits);
        QVERIFY2(hasChinese(error) == (!fits && room != -2), qPrintable(error));
        QCOMPARE(readWholeFile(old).bytes, fits ? bytes : QByteArray(5000, 'x'));
        QCOMPARE(entries(dir.path()), (QStringList{"a.bz", "dir"}));
    }

    // Another program holds a.bz open without letting it be replaced (Windows): the save waits
    // for it to let go, or, held too long, reports it and leaves the file as it was.
    void heldByAnotherProgram_data() {
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<bool>("saved");
        QTest::newRow("let go after a moment") << 500 << true;
        QTest::newRow("held throughout") << 4000 << false;
    }
    void heldByAnotherProgram() {
#ifdef Q_OS_WIN
        QFETCH(int, holdMs);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bz"));
        QVERIFY(writeFileAtomically(path, "old", nullptr));
        const HANDLE held =
            CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                        GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        std::thread holder([held, holdMs] {
            Sleep(DWORD(holdMs));
            CloseHandle(held);
        });
        QString error;
        const bool written = writeFileAtomically(path, "new", &error);
        holder.join();
        QCOMPARE(written, saved);
        QVERIFY2(hasChinese(error) != saved, qPrintable(error));
        QCOMPARE(readWholeFile(path).bytes, QByteArray(saved ? "new" : "old"));
        QCOMPARE(entries(dir.path()), QStringList{"a.bz"});
#else
        QSKIP("Unix systems replace a file whoever holds it open");
#endif
    }
};

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
