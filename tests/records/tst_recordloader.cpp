// Filling the record grids from a.bz: which lines each loader takes, where their fields land, and
// that nothing in the file (short, long, broken or missing) stops a load or loses a line.

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"

Q_DECLARE_METATYPE(CarriedLine)

static bool operator==(const CarriedLine& a, const CarriedLine& b) {
    return a.afterRecords == b.afterRecords && a.bytes == b.bytes;
}

namespace {

using Lines = QList<QByteArray>;
const QDate kToday(2024, 4, 4);
const FixedClock kNoon(QDateTime(kToday, QTime(12, 0)));
const QByteArray kCommas(",,,,,,,,,,");
constexpr int kMain = recordcolumns::kMainGridColumns;
constexpr int kEditor = recordcolumns::kEditorGridColumns;

// An eleven-field line as the editor writes it, in GBK, due at `due`.
QByteArray recordLine(const QString& part, const QString& due, const QString& dueMark = {}) {
    return gbk::encode(part + ",C30,M1,3-7 9:05,28," + due + ",标准养护,36,2,," + dueMark);
}

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    QFile f(dir.filePath(QStringLiteral("a.bz")));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write");
    return f.fileName();
}

// Columns 1 to the last of every record row, joined by commas.
QStringList recordRows(const RecordGrid& grid) {
    QStringList rows;
    for (int r = 1; r < grid.rows() - 1; ++r) {
        QStringList cells;
        for (int c = 1; c < grid.cols(); ++c) cells << grid.textMatrix(r, c);
        rows << cells.join(u',');
    }
    return rows;
}

// The shape every load leaves: headings, records numbered 1..k, then one wholly empty row.
void verifyShape(const RecordGrid& grid, int records) {
    QCOMPARE(grid.rows(), records + 2);
    QCOMPARE(grid.textMatrix(0, 1), QStringLiteral("工程部位"));
    for (int r = 1; r <= records; ++r) QCOMPARE(grid.textMatrix(r, 0), QString::number(r));
    for (int c = 0; c < grid.cols(); ++c) QVERIFY(grid.textMatrix(records + 1, c).isEmpty());
}

RecordGrid freshGrid(int cols) {
    RecordGrid grid(2, cols);
    grid.setTextMatrix(0, 1, QStringLiteral("工程部位"));
    return grid;
}

}  // namespace

class TestRecordLoader : public QObject {
    Q_OBJECT

  private slots:
    void mainSelection_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("taken");  // their first fields
        QTest::addColumn<QString>("cells");      // when given: columns 1 to 12 of the first row
        auto row = [](const char* name, const QByteArray& file, const QStringList& taken,
                      const QString& cells = {}) { QTest::newRow(name) << file << taken << cells; };
        const QByteArray midnight = recordLine("零点", "2024-04-04 00:00");
        Lines days = {recordLine("昨天", "2024-04-03 23:59"), midnight,
                      recordLine("明天", "2024-04-05 00:00"),
                      recordLine("末分", "2024-04-04 23:59")};
        Lines ten;
        for (int i = 0; i < 10; ++i)
            ten << recordLine(QString::number(i), i % 4 == 1 ? "2024-04-04 08:00" : "2024-05-04");
        const QString tenFields = "柱,C30,M1,3-7 9:05,28,2024-04-04 09:05,标准养护,36,2,";
        const QByteArray marked = recordLine("柱", "2024-04-04 09:05", "到期");
        row("empty file", "", {});
        row("only the line of commas", kCommas, {});
        row("00:00 and 23:59 today, not yesterday or tomorrow", days.join("\r\n"),
            {"零点", "末分"});
        row("three due in ten, file order", ten.join("\r\n"), {"1", "5", "9"});
        row("today in another field", recordLine("别处", "5-1").replace("3-7", "2024-04-04"), {});
        row("date anywhere in the due time", recordLine("前缀", "约2024-04-04"), {"前缀"});
        row("five fields skipped, six taken", "5,b,c,d,2024-04-04\n6,b,c,d,e,2024-04-04", {"6"});
        row("broken GBK in a field", "\xFF\xB5,C30,,,,2024-04-04 09:00,", {"\uFFFD\uFFFD"});
        row("binary junk lines", QByteArray("\x01\xFE,\x80\r\n\0\n", 8) + midnight, {"零点"});
        row("1 MB line before a record", QByteArray(1 << 20, 'x') + "\n" + midnight, {"零点"});
        row("11 fields: due mark empty", recordLine("柱", "2024-04-04 09:05"), {"柱"},
            tenFields + ",,");
        row("12 fields fill the due mark", marked + ",", {"柱"}, tenFields + ",到期,");
        row("11 fields with a due mark drop it", marked, {"柱"}, tenFields + ",,");
        row("surplus fields dropped", "0,1,2,3,4,2024-04-04,6,7,8,9,a,b,c,d", {"0"},
            "0,1,2,3,4,2024-04-04,6,7,8,9,a,b");
        row("cast today and due today",
            recordLine("今", "2024-04-04 18:00").replace("3-7", "2024-04-04"), {"今"});
        row("today twice in the due time", recordLine("两次", "2024-04-04 2024-04-04"), {"两次"});
        row("today only after the due time", "a,b,c,d,e,2024-04-05,2024-04-04,h", {});
        row("today thousands of times before the due time",
            gbk::encode(u"长,") + QByteArray("2024-04-04").repeated(50000) + ",c,d,e,2024-04-04,g",
            {"长"});
        row("today in field 5 of a line that is not GBK", "\x81,\x81\x7F,c,d,e,2024-04-04,\xFF",
            {"\uFFFD"}, "\uFFFD,\uFFFD\x7F,c,d,e,2024-04-04,,,,,,");
        row("a lead byte before the comma of field 5", "a,b,c,d,\xB5,2024-04-04,", {"a"},
            "a,b,c,d,\uFFFD,2024-04-04,,,,,,");
    }
    void mainSelection() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, taken);
        QFETCH(QString, cells);
        QTemporaryDir dir;
        RecordGrid grid = freshGrid(kMain);
        const LoadReport report = loadDueToday(grid, writeFile(dir, file), kNoon);
        QCOMPARE(report.status, FileStatus::Ok);
        QCOMPARE(report.taken, taken.size());
        verifyShape(grid, taken.size());
        for (int r = 1; r <= taken.size(); ++r) QCOMPARE(grid.textMatrix(r, 1), taken.at(r - 1));
        if (!cells.isEmpty()) QCOMPARE(recordRows(grid).first(), cells);
    }

    // A missing file loads nothing; a folder in its place is reported and left alone.
    void missingOrUnreadableFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bz"));
        for (const FileStatus status : {FileStatus::Missing, FileStatus::Unreadable}) {
            if (status == FileStatus::Unreadable) QVERIFY(QDir().mkdir(path));
            RecordGrid main = freshGrid(kMain);
            RecordGrid editor = freshGrid(kEditor);
            QList<CarriedLine> carried;
            for (const LoadReport& r :
                 {loadDueToday(main, path, kNoon), loadAllRecords(editor, path, &carried)}) {
                QCOMPARE(r.status, status);
                QCOMPARE(r.error.isEmpty(), status == FileStatus::Missing);
            }
            verifyShape(main, 0);
            verifyShape(editor, 0);
            QVERIFY(carried.isEmpty());
        }
        QVERIFY(QFileInfo(path).isDir());
    }

    // Reloading drops the due marks and colours of fired rows and takes the file as it now is.
    void reloadDropsMarksAndColours() {
        const Lines lines = {recordLine("甲", "2024-04-04 09:00"),
                             recordLine("乙", "2024-04-04 10:00"),
                             recordLine("丙", "2024-04-04 11:00")};
        QTemporaryDir dir;
        RecordGrid grid = freshGrid(kMain);
        loadDueToday(grid, writeFile(dir, lines.mid(0, 2).join("\r\n")), kNoon);
        grid.setTextMatrix(2, recordcolumns::kDueMark, dueMarkText());  // what the due scan does
        grid.setRow(2);
        for (int c = 0; c < grid.cols(); ++c) {
            grid.setCol(c);
            grid.setCellBackColor(RecordGrid::kYellow);
            grid.setCellForeColor(RecordGrid::kRed);
        }
        const QString path = writeFile(dir, lines.join("\r\n"));
        QCOMPARE(reloadDueToday(grid, path, kNoon).taken, 3);
        verifyShape(grid, 3);
        for (int r = 1; r <= 3; ++r) {
            QCOMPARE(grid.textMatrix(r, 1), QStringList({"甲", "乙", "丙"}).at(r - 1));
            QVERIFY(grid.textMatrix(r, recordcolumns::kDueMark).isEmpty());
            for (int c = 0; c < grid.cols(); ++c)
                QVERIFY(!grid.cellBackColor(r, c) && !grid.cellForeColor(r, c));
        }
        const FixedClock nextDay(QDateTime(kToday.addDays(1), QTime(0, 0)));
        QCOMPARE(reloadDueToday(grid, path, nextDay).taken, 0);
        verifyShape(grid, 0);
    }

    // A load that runs over midnight gives the new day's list, not half of each.
    void loadOverMidnight() {
        // The date turns once the file has been read for the first time.
        struct TurningClock : Clock {
            mutable int calls = 0;
            QDateTime now() const override {
                return QDateTime(kToday.addDays(calls++ > 0 ? 1 : 0), QTime(23, 59, 59));
            }
        };
        const QByteArray today = recordLine("今天", "2024-04-04 23:00");
        const QByteArray tomorrow = recordLine("明天", "2024-04-05 00:00");
        for (const QByteArray& file : {today + "\r\n" + tomorrow, today}) {
            QTemporaryDir dir;
            RecordGrid grid = freshGrid(kMain);
            const bool hasTomorrow = file.contains(tomorrow);
            QCOMPARE(loadDueToday(grid, writeFile(dir, file), TurningClock()).taken,
                     hasTomorrow ? 1 : 0);
            verifyShape(grid, hasTomorrow ? 1 : 0);
            if (hasTomorrow) QCOMPARE(grid.textMatrix(1, 1), QStringLiteral("明天"));
        }
    }

    // A load stopped part-way (the editor closed) leaves the grid and the carried lines as they
    // were; one that runs to the end was told of every byte.
    void editorLoadStopped() {
        QByteArray file;
        for (int i = 0; i < 30000; ++i)
            file += recordLine(QString::number(i), "2024-04-04 09:00") + "\r\nnote\r\n";
        QTemporaryDir dir;
        const QString path = writeFile(dir, file);
        for (const bool stop : {true, false}) {
            RecordGrid grid = freshGrid(kEditor);
            QList<CarriedLine> carried{{0, "before"}};
            qint64 told = 0;
            qint64 size = 0;
            const LoadReport report =
                loadAllRecords(grid, path, &carried, [&](qint64 done, qint64 total) {
                    told = done;
                    size = total;
                    return !stop;
                });
            QCOMPARE(size, file.size());
            QCOMPARE(report.taken, stop ? 0 : 30000);
            verifyShape(grid, report.taken);
            QCOMPARE(carried.size(), stop ? 1 : 30001);
            QVERIFY(stop ? told < file.size() : told == file.size());
        }
    }

    void editorSelection_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Lines>("taken");
        QTest::addColumn<QList<CarriedLine>>("carried");
        using C = QList<CarriedLine>;
        const QByteArray a = recordLine("甲", "2024-04-04 09:00");
        const QByteArray b = recordLine("乙", "2024-04-05 09:00");
        const QByteArray ungraded = gbk::encode(u"无等级,,M1,3-7 9:05,28,2024-04-04 09:05,,,,,");
        const QByteArray twelve = recordLine("十二", "2024-04-04 09:00", "到期") + ",";
        const QByteArray ten = gbk::encode(u"十,C30,PB-1,,,,,,,");
        const QByteArray broken("\xFF\xFE,C30,PB-1,,,,,,,,");
        const QByteArray marked = recordLine("已到", "2024-04-04 09:00", "到期");
        const QByteArray remark(",,,,,,,,, note ,");
        const QByteArray huge(1 << 20, 'z');
        QTest::newRow("commas and empty lines dropped")
            << Lines{"", ",", ",,,,,,,,,,,,,,,", a, "", kCommas}.join("\r\n") << Lines{a} << C{};
        QTest::newRow("empty strength grade taken") << ungraded << Lines{ungraded} << C{};
        QTest::newRow("blank-edged remark taken") << remark << Lines{remark} << C{};
        QTest::newRow("lines it cannot hold carried in place")
            << Lines{ten, a, twelve, broken, b, marked, kCommas}.join("\r\n") << Lines{a, b}
            << C{{0, ten}, {1, twelve}, {1, broken}, {2, marked}};
        QTest::newRow("1 MB line carried") << a + "\r\n" + huge << Lines{a} << C{{1, huge}};
    }
    // Each taken line lands whole, field k in column k + 1; the others are carried.
    void editorSelection() {
        QFETCH(QByteArray, file);
        QFETCH(Lines, taken);
        QFETCH(QList<CarriedLine>, carried);
        QTemporaryDir dir;
        const QString path = writeFile(dir, file);
        RecordGrid grid = freshGrid(kEditor);
        QList<CarriedLine> got;
        const LoadReport report = loadAllRecords(grid, path, &got);
        QCOMPARE(report.status, FileStatus::Ok);
        QCOMPARE(report.taken, taken.size());
        verifyShape(grid, taken.size());
        QCOMPARE(recordRows(grid).join('\n'), gbk::decode(taken.join('\n')));
        QVERIFY(got == carried);
        RecordGrid again = freshGrid(kEditor);
        QCOMPARE(loadAllRecords(again, path, nullptr).taken, taken.size());
    }
};

QTEST_APPLESS_MAIN(TestRecordLoader)
#include "tst_recordloader.moc"
