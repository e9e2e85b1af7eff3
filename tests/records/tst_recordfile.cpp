// a.bz into the record grids and back: which lines each loader takes and where their fields land,
// and that the editor writes back every line it read, so that no load or failed save loses one.

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "editor/recordchanger.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/recordsaver.h"
#include "records/specimenrecord.h"
#include "support/failingsavefile.h"

namespace {

using Lines = QList<QByteArray>;
const QDate kToday(2024, 4, 4);
const QByteArray kCommas(",,,,,,,,,,");
const QByteArray kRemark = gbk::encode(QStringLiteral(",改,"));  // an empty remark filled in
constexpr int kMain = recordcolumns::kMainGridColumns;
constexpr int kEditor = recordcolumns::kEditorGridColumns;

// An eleven-field line as the editor writes it, in GBK, due at `due`.
QByteArray recordLine(const QString& part, const QString& due, const QString& dueMark = {}) {
    return gbk::encode(part + ",C30,M1,3-7 9:05,28," + due + ",标准养护,36,2,," + dueMark);
}

// Today until the date has been asked for `turn` times, then tomorrow: a load over midnight.
struct TurningClock : Clock {
    explicit TurningClock(int turn) : m_turn(turn) {}
    QDateTime now() const override {
        return QDateTime(kToday.addDays(m_calls++ < m_turn ? 0 : 1), QTime(23, 59, 59));
    }
    int m_turn;
    mutable int m_calls = 0;
};

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    if (!bytes.isNull() && !writeFileAtomically(path, bytes, nullptr)) qFatal("cannot write");
    return path;
}

// The shape every load leaves: a heading row, records numbered 1..k, then one wholly empty row.
// Gives columns 1 to the last of each record row, joined by commas.
QStringList recordRows(const RecordGrid& grid, int records) {
    QStringList rows;
    if (grid.rows() != records + 2) return {"bad shape"};
    for (int r = 1; r <= records + 1; ++r) {
        QStringList cells;
        for (int c = 1; c < grid.cols(); ++c) cells << grid.textMatrix(r, c);
        const QString number = grid.textMatrix(r, 0);
        if (r <= records && number != QString::number(r)) return {"bad number " + number};
        if (r > records && (!number.isEmpty() || !cells.join("").isEmpty())) return {"bad last"};
        if (r <= records) rows << cells.join(u',');
    }
    return rows;
}

// Appends a record the way the editor does (into the trailing row, then a new trailing row), or
// removes the first ("-").
void edit(RecordGrid& grid, const QString& edit) {
    if (edit == "-") return grid.removeItem(1);
    const int row = grid.rows() - 1;
    const QStringList cells = (QString::number(row) + u',' + edit).split(u',');
    for (int c = 0; c < cells.size(); ++c) {
        grid.setTextMatrix(row, c, cells.at(c));
        QCOMPARE(grid.textMatrix(row, c), cells.at(c));  // kept as GBK bytes, read back decoded
    }
    grid.addItem();
}

// The grid a fresh load of the file gives, one line per record row.
QStringList loadedRows(const QString& path) {
    RecordGrid grid(2, kEditor);
    const int taken = loadAllRecords(grid, path, nullptr).taken;
    return recordRows(grid, taken);
}

}  // namespace

class TestRecordFile : public QObject {
    Q_OBJECT

  private slots:
    void dueToday_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("taken");  // their first fields
        QTest::addColumn<QString>("cells");      // when given: columns 1 to 12 of the first row
        QTest::addColumn<int>("turn");           // reads of the clock before the date turns
        auto row = [](const char* name, const QByteArray& file, const QStringList& taken,
                      const QString& cells = {},
                      int turn = 99) { QTest::newRow(name) << file << taken << cells << turn; };
        const QByteArray midnight = recordLine("零点", "2024-04-04 00:00");
        const Lines days = {recordLine("昨天", "2024-04-03 23:59"), midnight,
                            recordLine("明天", "2024-04-05 00:00"),
                            recordLine("末分", "2024-04-04 23:59")};
        const QString tenFields = "柱,C30,M1,3-7 9:05,28,2024-04-04 09:05,标准养护,36,2,";
        const QByteArray marked = recordLine("柱", "2024-04-04 09:05", "到期");
        row("no file", QByteArray(), {});
        row("00:00 and 23:59 today, not yesterday or tomorrow", days.join("\r\n"),
            {"零点", "末分"});
        row("file order, lone LF and CR", days.join("\n") + "\r" + days.join("\r"),
            {"零点", "末分", "零点", "末分"});
        row("today in another field", recordLine("别处", "5-1").replace("3-7", "2024-04-04"), {});
        row("date anywhere in the due time", recordLine("前缀", "约2024-04-04"), {"前缀"});
        row("five fields skipped, six taken", "5,b,c,d,2024-04-04\n6,b,c,d,e,2024-04-04", {"6"});
        row("binary junk lines", QByteArray("\x01\xFE,\x80\r\n\0\n", 8) + midnight, {"零点"});
        row("12 fields fill the due mark", marked + ",", {"柱"}, tenFields + ",到期,");
        row("11 fields with a due mark drop it", marked, {"柱"}, tenFields + ",,");
        row("surplus fields dropped", "0,1,2,3,4,2024-04-04,6,7,8,9,a,b,c,d", {"0"},
            "0,1,2,3,4,2024-04-04,6,7,8,9,a,b");
        row("cast today and due today, taken once",
            recordLine("今", "2024-04-04 18:00 2024-04-04").replace("3-7", "2024-04-04"), {"今"});
        row("today only after the due time", "a,b,c,d,e,2024-04-05,2024-04-04,h", {});
        row("today thousands of times before the due time",
            gbk::encode(u"长,") + QByteArray("2024-04-04").repeated(50000) + ",c,d,e,2024-04-04,g",
            {"长"});
        row("over midnight: the new day's list", midnight + "\r\n" + days[2], {"明天"}, {}, 1);
        // Lines that are not GBK are decoded before they are split, as they always were.
        row("today in field 5 of a line that is not GBK", "\x81,\x81\x7F,c,d,e,2024-04-04,\xFF",
            {"\uFFFD"}, "\uFFFD,\uFFFD\x7F,c,d,e,2024-04-04,,,,,,");
        row("a lead byte before the comma of field 5", "a,b,c,d,\xB5,2024-04-04,", {"a"},
            "a,b,c,d,\uFFFD,2024-04-04,,,,,,");
    }
    // The main window takes the lines whose due time (field 5) holds today's date.
    void dueToday() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, taken);
        QFETCH(QString, cells);
        QFETCH(int, turn);
        QTemporaryDir dir;
        const QString path = writeFile(dir, file);
        const TurningClock clock(turn);
        RecordGrid grid(2, kMain);
        const LoadReport report = loadDueToday(grid, path, clock);
        QCOMPARE(report.status, file.isNull() ? FileStatus::Missing : FileStatus::Ok);
        QCOMPARE(report.taken, taken.size());
        const QStringList rows = recordRows(grid, taken.size());
        QStringList firstFields;
        for (const QString& row : rows) firstFields << row.section(u',', 0, 0);
        QCOMPARE(firstFields, taken);
        if (!cells.isEmpty()) QCOMPARE(rows.first(), cells);
    }

    void editorRoundTrip_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Lines>("taken");  // the lines the grid holds, the others are carried
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QByteArray>("saved");  // when not the file itself
        auto row = [](const char* name, const QByteArray& file, const Lines& taken,
                      const QStringList& edits = {}, const QByteArray& saved = {}) {
            QTest::newRow(name) << file << taken << edits << saved;
        };
        const QByteArray a = gbk::encode(u"A,C30,M1,d,28,t,标准养护,1,2,,");
        const QByteArray b = "B,C35,M2,d,7,t,S,1,2,r,";
        const QByteArray ungraded = gbk::encode(u"无等级,,M1,3-7 9:05,28,2024-04-04 09:05,,,,,");
        const QByteArray remark(",,,,,,,,, note ,");
        const QByteArray ten = gbk::encode(u"十,C30,PB-1,,,,,,,");
        const QByteArray twelve = recordLine("十二", "2024-04-04 09:00", "到期") + ",";
        const QByteArray marked = gbk::encode(u"X,C30,M9,d,28,t,S,1,2,,到期");
        const QByteArray comma = "Y,C30,M,9,d,28,t,S,1,2,,";  // a comma typed into a field
        const QByteArray notGbk = "Z,C30,M\xFF,d,28,t,S,1,2,,";
        const QByteArray signs =
            "3\xA1\xC1"
            "4,C30,M1,d,28,t,20\xA1\xE3"
            "C\xA1\xC0"
            "2,1,2,,";
        auto file = [](const Lines& lines) { return (lines + Lines{kCommas}).join("\r\n"); };
        row("no file: ten commas", {}, {}, {}, kCommas);
        row("added records in GBK, CR LF, ten commas", {}, {}, {"中文,C30", "P2"},
            "\xD6\xD0\xCE\xC4,C30,,,,,,,,,\r\nP2,,,,,,,,,,\r\n" + kCommas);
        row("commas and empty lines dropped",
            Lines{"", ",", ",,,,,,,,,,,,,,,", a, "\n"}.join("\r\n"), {a}, {}, file({a}));
        row("Chinese records byte for byte, empty grade, blank-edged remark",
            file({a, b, ungraded, remark}), {a, b, ungraded, remark});
        row("Latin-1 signs (×, ±, °) byte for byte in GBK", file({signs}), {signs},
            {"3×4梁,C30,M1,d,28,t,20°C±2,1,2,"},
            file({signs,
                  "3\xA1\xC1"
                  "4\xC1\xBA,C30,M1,d,28,t,20\xA1\xE3"
                  "C\xA1\xC0"
                  "2,1,2,,"}));
        row("lines it cannot hold carried in place",
            file({ten, a, twelve, "note", marked, comma, b, notGbk}), {a, b});
    }
    // The editor takes every line it can hold whole, field k in column k + 1, and carries the
    // others; saving writes back what was read, with the edits, in GBK with CR LF.
    void editorRoundTrip() {
        QFETCH(QByteArray, file);
        QFETCH(Lines, taken);
        QFETCH(QStringList, edits);
        QFETCH(QByteArray, saved);
        if (saved.isNull()) saved = file;
        QTemporaryDir dir;
        const QString path = writeFile(dir, file);
        RecordGrid grid(2, kEditor);
        QList<CarriedLine> carried;
        QCOMPARE(loadAllRecords(grid, path, &carried).taken, taken.size());
        QCOMPARE(recordRows(grid, taken.size()).join('\n'), gbk::decode(taken.join('\n')));
        for (const QString& e : edits) edit(grid, e);
        const SaveResult result = baocuns(grid, carried, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(readWholeFile(path).bytes, saved);
    }

    // The editor's changes of chosen lines, and their undoing, byte for byte: every other byte of
    // a.bz stays, and the grid ends as a fresh load of the file gives it.
    void editorChanges_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("action");        // "edit ROW", "delete ROW ...", "add"
        QTest::addColumn<QByteArray>("meanwhile");  // another program's file before the change
        QTest::addColumn<int>("room");              // bytes the write can take; -1: no limit
        QTest::addColumn<QByteArray>("changed");    // a.bz after the change
        QTest::addColumn<QByteArray>("undone");     // after undoing it
        const QByteArray a = recordLine("甲", "2024-04-04 09:00");
        const QByteArray b = recordLine("乙", "2024-04-05 09:00");
        const QByteArray c = recordLine("丙", "2024-04-06 09:00");
        const QByteArray carried = gbk::encode(
            QStringLiteral("手改,C30,多一栏,3-7 9:05,28,2024-04-04 10:00,标准养护,36,2,,,"));
        const QByteArray a2 = recordLine("甲", "2024-04-04 09:00").replace(",,", kRemark);
        const QByteArray c2 = recordLine("丙", "2024-04-06 09:00").replace(",,", kRemark);
        const QByteArray file = a + "\r\n" + carried + "\r\n" + b + "\r\n" + c + "\r\n" + kCommas;
        const QByteArray none;
        auto row = [](const char* name, const QByteArray& f, const char* action,
                      const QByteArray& meanwhile, int room, const QByteArray& changed,
                      const QByteArray& undone) {
            QTest::newRow(name) << f << QString::fromLatin1(action) << meanwhile << room << changed
                                << undone;
        };
        row("edit the first line", file, "edit 1", none, -1,
            QByteArray(file).replace(0, a.size(), a2), file);
        row("edit the last record", file, "edit 3", none, -1, QByteArray(file).replace(c, c2),
            file);
        row("delete the first line and the last record", file, "delete 1 3", none, -1,
            carried + "\r\n" + b + "\r\n" + kCommas, file);
        const QByteArray bare = a + "\n" + b + "\r" + c;  // hand-made line ends, no line of commas
        row("delete the last line, no line end after it", bare, "delete 3", none, -1,
            a + "\n" + b + "\r", bare);
        row("delete the line before a carried one", file, "delete 1", none, -1,
            file.mid(a.size() + 2), file);
        row("add to a file without the line of commas", bare, "add", none, -1,
            bare + "\r\n" + b + "\r\n" + kCommas, bare + "\r\n" + kCommas);
        row("edit a twin: the second one changes", a + "\r\n" + a + "\r\n" + kCommas, "edit 2",
            none, -1, a + "\r\n" + a2 + "\r\n" + kCommas, a + "\r\n" + a + "\r\n" + kCommas);
        const QByteArray other = recordLine("他", "2024-04-07 09:00");
        row("another program added a line first: edit lands on the fresh file", file, "edit 3",
            other + "\r\n" + file, -1, other + "\r\n" + QByteArray(file).replace(c, c2),
            other + "\r\n" + file);
        row("another program added a line first: add appends to the fresh file", file, "add",
            other + "\r\n" + file, -1, other + "\r\n" + file.chopped(10) + b + "\r\n" + kCommas,
            other + "\r\n" + file);
        row("another program deleted the record: refused", file, "edit 3",
            QByteArray(file).replace(c + "\r\n", ""), -1, QByteArray(file).replace(c + "\r\n", ""),
            {});
        row("delete on a fresh file, undone to the end of the records", file, "delete 1",
            file + "\r\n" + other, -1, file.mid(a.size() + 2) + "\r\n" + other,
            file.mid(a.size() + 2) + "\r\n" + other + "\r\n" + a + "\r\n" + kCommas);
        row("a failed write changes nothing", file, "delete 2", none, 100, file, {});
    }
    void editorChanges() {
        QFETCH(QByteArray, file);
        QFETCH(QString, action);
        QFETCH(QByteArray, meanwhile);
        QFETCH(int, room);
        QFETCH(QByteArray, changed);
        QFETCH(QByteArray, undone);
        QTemporaryDir dir;
        const QString path = writeFile(dir, file);
        RecordGrid grid(2, kEditor);
        FixedClock clock(QDateTime(kToday, QTime(8, 0)));
        RecordChanger changer(path, grid, clock);
        auto load = [&](bool newHistory) {
            const FileStamp stamp = FileStamp::of(path);
            grid.setRows(2);
            grid.setRows(1);
            grid.setRows(2);
            loadAllRecords(grid, path, nullptr);
            changer.gridRead(stamp, newHistory);
        };
        load(true);
        QObject::connect(&changer, &RecordChanger::gridStale, [&] { load(false); });
        if (!meanwhile.isNull()) QVERIFY(writeFileAtomically(path, meanwhile, nullptr));
        if (room >= 0)
            changer.setWriter([&](const RecordFileChange& change) {
                FailingSaveFile failing(path, room);
                return changeRecordFile(failing, change);
            });

        QList<LineChange> changes;
        const QStringList words = action.split(u' ');
        for (const QString& word : words.mid(1)) {
            const int r = word.toInt();
            LineChange change;
            change.kind = words[0] == "edit" ? LineChange::Kind::Replace : LineChange::Kind::Remove;
            change.line = changer.lineOf(r);
            change.occurrence = changer.occurrenceOf(r);
            change.gridRow = r;
            change.text = QByteArray(change.line).replace(",,", kRemark);
            changes << change;
        }
        if (words[0] == "add")
            changes << LineChange{
                LineChange::Kind::Append, {}, 0, recordLine("乙", "2024-04-05 09:00"), 0, {},
                grid.rows() - 1};
        QString error;
        const auto inverse = changer.apply(changes, RecordFileChange::Backup::None, &error);
        QCOMPARE(readWholeFile(path).bytes, changed);
        QCOMPARE(recordRows(grid, grid.rows() - 2), loadedRows(path));
        QCOMPARE(inverse.has_value(), !undone.isNull());
        if (!inverse) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QVERIFY(changer.apply(*inverse, RecordFileChange::Backup::None, &error));
        QCOMPARE(readWholeFile(path).bytes, undone);
        QCOMPARE(recordRows(grid, grid.rows() - 2), loadedRows(path));
    }

    // A load stopped part-way (the editor closed) leaves the grid and the carried lines as they
    // were; one that runs to the end was told of every byte.
    void editorLoadStopped() {
        const QByteArray file =
            (recordLine("甲", "2024-04-04 09:00") + "\r\nnote\r\n").repeated(30000);
        QTemporaryDir dir;
        const QString path = writeFile(dir, file);
        for (const bool stop : {true, false}) {
            RecordGrid grid(2, kEditor);
            QList<CarriedLine> carried{{0, "before"}};
            qint64 told = 0;
            const LoadProgress progress = [&](qint64 done, qint64 total) {
                told = total == file.size() ? done : -1;
                return !stop;
            };
            QCOMPARE(loadAllRecords(grid, path, &carried, progress).taken, stop ? 0 : 30000);
            QCOMPARE(recordRows(grid, stop ? 0 : 30000).size(), stop ? 0 : 30000);
            QCOMPARE(carried.size(), stop ? 1 : 30001);
            QVERIFY(stop ? told > 0 && told < file.size() : told == file.size());
        }
    }
};

QTEST_APPLESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
