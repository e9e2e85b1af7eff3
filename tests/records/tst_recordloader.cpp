// Filling the two record grids from a.bz: which lines each loader takes, where their fields land,
// and that nothing in the file (short, long, broken or missing) stops a load or loses a line.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"

Q_DECLARE_METATYPE(CarriedLine)
Q_DECLARE_METATYPE(FileStatus)

namespace {

const QDate kToday(2024, 4, 4);

// An eleven-field line as the editor writes it, in GBK, due at `due`.
QByteArray recordLine(const QString& part, const QString& due, const QString& dueMark = {}) {
    return gbk::encode(QStringList{part, "C30", "PB-017", "2024-3-7 09:05", "28", due, "标准养护",
                                   "36", "2", "", dueMark}
                           .join(u','));
}

QByteArray joinLines(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (qsizetype i = 0; i < lines.size(); ++i) bytes += (i ? "\r\n" : "") + lines.at(i);
    return bytes;
}

QStringList columnTexts(const RecordGrid& grid, int col) {
    QStringList texts;
    for (int r = 1; r < grid.rows(); ++r) texts << grid.textMatrix(r, col);
    return texts;
}

// The shape every load leaves: records numbered 1..k, then one wholly empty row.
void verifyShape(const RecordGrid& grid, int records) {
    QCOMPARE(grid.rows(), records + 2);
    for (int r = 1; r <= records; ++r) QCOMPARE(grid.textMatrix(r, 0), QString::number(r));
    for (int c = 0; c < grid.cols(); ++c) QVERIFY(grid.textMatrix(records + 1, c).isEmpty());
}

RecordGrid freshGrid(int cols) {
    RecordGrid grid(2, cols);
    const QStringList& headings = recordHeadings();
    for (int c = 0; c < headings.size() && c < cols; ++c) grid.setTextMatrix(0, c, headings.at(c));
    return grid;
}

class DataFile {
  public:
    DataFile() : m_path(m_dir.filePath(QStringLiteral("a.bz"))) {}
    const QString& path() const { return m_path; }
    void write(const QByteArray& bytes) {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }

  private:
    QTemporaryDir m_dir;
    QString m_path;
};

}  // namespace

class TestRecordLoader : public QObject {
    Q_OBJECT

  private slots:
    void splitLine_data();
    void splitLine();
    void mainSelection_data();
    void mainSelection();
    void mainPlacement_data();
    void mainPlacement();
    void unreadableFile_data();
    void unreadableFile();
    void reloadClearsMarks();
    void reloadOnEmptyGrid();
    void editorSelection_data();
    void editorSelection();
    void editorPlacement();
};

void TestRecordLoader::splitLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("empty line, no fields") << "" << QStringList{};
    QTest::newRow("no comma, one field") << "柱" << QStringList{"柱"};
    QTest::newRow("one comma, two empty fields") << "," << QStringList{"", ""};
    QTest::newRow("ten commas, eleven empty fields") << ",,,,,,,,,," << QStringList(11, QString());
    QTest::newRow("comma at the end, empty last field") << "a,b," << QStringList{"a", "b", ""};
    QTest::newRow("two commas in a row") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("comma first") << ",a" << QStringList{"", "a"};
    QTest::newRow("blanks kept") << " a , b " << QStringList{" a ", " b "};
    QTest::newRow("full-width comma is no separator") << "a，b" << QStringList{"a，b"};
}

void TestRecordLoader::splitLine() {
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(splitRecordLine(line), fields);
    if (!fields.isEmpty()) QCOMPARE(joinRecordLine(splitRecordLine(line)), line);
}

void TestRecordLoader::mainSelection_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("taken");

    const QByteArray midnight = recordLine("零点", "2024-04-04 00:00");
    const QByteArray lastMinute = recordLine("末分", "2024-04-04 23:59");
    const QByteArray yesterday = recordLine("昨天", "2024-04-03 23:59");
    const QByteArray tomorrow = recordLine("明天", "2024-04-05 00:00");
    const QByteArray commas(",,,,,,,,,,");

    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("only the trailing line of commas") << commas << QStringList{};
    QTest::newRow("00:00 and 23:59 today, not yesterday or tomorrow")
        << joinLines({yesterday, midnight, tomorrow, lastMinute, commas})
        << QStringList{"零点", "末分"};

    QList<QByteArray> ten;
    for (int i = 0; i < 10; ++i) {
        const bool due = i == 2 || i == 5 || i == 9;
        ten << recordLine(QStringLiteral("第%1").arg(i),
                          due ? "2024-04-04 08:00" : "2024-05-04 08:00");
    }
    QTest::newRow("three due in ten, file order")
        << joinLines(ten) << QStringList{"第2", "第5", "第9"};
    QTest::newRow("LF line ends") << midnight + "\n" + yesterday + "\n" + lastMinute + "\n"
                                  << QStringList{"零点", "末分"};
    QTest::newRow("lone CR line ends")
        << midnight + "\r" + lastMinute << QStringList{"零点", "末分"};
    QTest::newRow("trailing CR LF") << midnight + "\r\n" << QStringList{"零点"};
    QTest::newRow("today's date outside the due time")
        << recordLine("别处", "2024-05-01 09:00").replace("2024-3-7 09:05", "2024-04-04 09:05")
        << QStringList{};
    QTest::newRow("date anywhere in the due time")
        << recordLine("前缀", "约2024-04-04") << QStringList{"前缀"};
    QTest::newRow("other date form not taken")
        << recordLine("斜杠", "2024/04/04 09:00") << QStringList{};
    QTest::newRow("five fields, date in the last")
        << QByteArray("a,b,c,d,2024-04-04 09:00\r\n") + midnight << QStringList{"零点"};
    QTest::newRow("six fields, due time last")
        << QByteArray("six,b,c,d,e,2024-04-04 09:00") << QStringList{"six"};
    QTest::newRow("seven fields, due time placed")
        << QByteArray("seven,b,c,d,e,2024-04-04 09:00,") << QStringList{"seven"};
    QTest::newRow("empty lines between") << "\r\n\r\n" + midnight + "\r\n\r\n\n"
                                         << QStringList{"零点"};
    QTest::newRow("broken GBK in another field")
        << QByteArray("\xFF\xB5,C30,,,,2024-04-04 09:00,,,,,") << QStringList{"\uFFFD\uFFFD"};
    QTest::newRow("NUL bytes in a field") << QByteArray("a\0b,C30,,,,2024-04-04 09:00,,,,,", 32)
                                          << QStringList{QStringView(u"a\0b", 3).toString()};
    QTest::newRow("binary junk lines")
        << QByteArray("\x01\x02\xFE\xFE\xFE,\x80\x81\r\n\0\0\0\r\n", 15) + midnight
        << QStringList{"零点"};
    QTest::newRow("1 MB line before a record")
        << QByteArray(1 << 20, 'x') + "\r\n" + midnight << QStringList{"零点"};
    QTest::newRow("1 MB remark in a taken line")
        << recordLine("长", "2024-04-04 10:00").replace(",,", "," + QByteArray(1 << 20, 'y') + ",")
        << QStringList{"长"};
}

void TestRecordLoader::mainSelection() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, taken);
    DataFile data;
    data.write(file);
    RecordGrid grid = freshGrid(recordcolumns::kMainGridColumns);
    const FixedClock clock(QDateTime(kToday, QTime(12, 0)));
    const LoadReport report = loadDueToday(grid, data.path(), clock);
    QCOMPARE(report.status, FileStatus::Ok);
    QCOMPARE(report.taken, taken.size());
    verifyShape(grid, taken.size());
    QCOMPARE(columnTexts(grid, 1), taken + QStringList{""});
    QCOMPARE(grid.textMatrix(0, 1), QStringLiteral("工程部位"));
}

void TestRecordLoader::mainPlacement_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("cells");  // columns 1 to 12 of row 1

    QTest::newRow("eleven fields leave the due mark empty")
        << recordLine("3号楼三层柱", "2024-04-04 09:05")
        << QStringList{"3号楼三层柱",
                       "C30",
                       "PB-017",
                       "2024-3-7 09:05",
                       "28",
                       "2024-04-04 09:05",
                       "标准养护",
                       "36",
                       "2",
                       "",
                       "",
                       ""};
    QTest::newRow("twelve fields fill the due mark")
        << recordLine("柱", "2024-04-04 09:05", "到期") + ","
        << QStringList{
               "柱", "C30", "PB-017", "2024-3-7 09:05", "28", "2024-04-04 09:05", "标准养护",
               "36", "2",   "",       "到期",           ""};
    QTest::newRow("eleven fields with a due mark drop it")
        << recordLine("柱", "2024-04-04 09:05", "到期")
        << QStringList{"柱",       "C30",
                       "PB-017",   "2024-3-7 09:05",
                       "28",       "2024-04-04 09:05",
                       "标准养护", "36",
                       "2",        "",
                       "",         ""};
    QTest::newRow("twenty fields drop the surplus")
        << QByteArray(
               "f0,f1,f2,f3,f4,2024-04-04 "
               "09:05,f6,f7,f8,f9,f10,f11,f12,f13,f14,f15,f16,f17,f18,f19")
        << QStringList{"f0", "f1", "f2", "f3", "f4",  "2024-04-04 09:05",
                       "f6", "f7", "f8", "f9", "f10", "f11"};
}

void TestRecordLoader::mainPlacement() {
    QFETCH(QByteArray, line);
    QFETCH(QStringList, cells);
    DataFile data;
    data.write(line + "\r\n,,,,,,,,,,");
    RecordGrid grid = freshGrid(recordcolumns::kMainGridColumns);
    loadDueToday(grid, data.path(), FixedClock(QDateTime(kToday, QTime(9, 5))));
    verifyShape(grid, 1);
    QStringList row;
    for (int c = 1; c < grid.cols(); ++c) row << grid.textMatrix(1, c);
    QCOMPARE(row, cells);
}

void TestRecordLoader::unreadableFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<FileStatus>("status");
    QTest::newRow("missing file") << "missing" << FileStatus::Missing;
    QTest::newRow("directory in its place") << "directory" << FileStatus::Unreadable;
    QTest::newRow("no read permission") << "permission" << FileStatus::Unreadable;
}

// Neither loader changes the grid beyond its two rows, and the file stays as it was.
void TestRecordLoader::unreadableFile() {
    QFETCH(QString, kind);
    QFETCH(FileStatus, status);
    if (kind == "permission" && geteuid() == 0) QSKIP("root reads every file");
    DataFile data;
    const QByteArray bytes = recordLine("柱", "2024-04-04 09:05");
    if (kind == "directory") QVERIFY(QDir().mkdir(data.path()));
    if (kind == "permission") {
        data.write(bytes);
        QVERIFY(QFile::setPermissions(data.path(), QFileDevice::Permissions()));
    }

    RecordGrid main = freshGrid(recordcolumns::kMainGridColumns);
    const LoadReport mainReport =
        loadDueToday(main, data.path(), FixedClock(QDateTime(kToday, QTime(9, 5))));
    RecordGrid editor = freshGrid(recordcolumns::kEditorGridColumns);
    QList<CarriedLine> carried;
    const LoadReport editorReport = loadAllRecords(editor, data.path(), &carried);

    for (const LoadReport& report : {mainReport, editorReport}) {
        QCOMPARE(report.status, status);
        QCOMPARE(report.taken, 0);
        QCOMPARE(report.error.isEmpty(), status == FileStatus::Missing);
        if (!report.error.isEmpty())
            QVERIFY(report.error.contains(QStringLiteral("无法")) ||
                    report.error.contains(QStringLiteral("文件夹")));
    }
    verifyShape(main, 0);
    verifyShape(editor, 0);
    QVERIFY(carried.isEmpty());

    if (kind == "missing") QVERIFY(!QFileInfo::exists(data.path()));
    if (kind == "directory") QVERIFY(QFileInfo(data.path()).isDir());
    if (kind == "permission") {
        QFile::setPermissions(data.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile f(data.path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
    }
}

void TestRecordLoader::reloadClearsMarks() {
    DataFile data;
    data.write(joinLines({recordLine("甲", "2024-04-04 09:00"),
                          recordLine("乙", "2024-04-04 10:00"), ",,,,,,,,,,"}));
    FixedClock clock(QDateTime(kToday, QTime(10, 0)));
    RecordGrid grid = freshGrid(recordcolumns::kMainGridColumns);
    loadDueToday(grid, data.path(), clock);
    verifyShape(grid, 2);

    // What the due scan does to a row whose minute has come.
    grid.setTextMatrix(2, recordcolumns::kDueMark, dueMarkText());
    for (int c = 0; c < grid.cols(); ++c) {
        grid.setRow(2);
        grid.setCol(c);
        grid.setCellBackColor(RecordGrid::kYellow);
        grid.setCellForeColor(RecordGrid::kRed);
    }
    data.write(
        joinLines({recordLine("甲", "2024-04-04 09:00"), recordLine("乙", "2024-04-04 10:00"),
                   recordLine("丙", "2024-04-04 11:00")}));

    const LoadReport report = reloadDueToday(grid, data.path(), clock);
    QCOMPARE(report.taken, 3);
    verifyShape(grid, 3);
    QCOMPARE(columnTexts(grid, 1), (QStringList{"甲", "乙", "丙", ""}));
    QCOMPARE(grid.textMatrix(0, 0), QStringLiteral("编号"));
    for (int r = 0; r < grid.rows(); ++r) {
        QVERIFY(grid.textMatrix(r, recordcolumns::kDueMark) != dueMarkText());
        for (int c = 0; c < grid.cols(); ++c) {
            QCOMPARE(grid.cellBackColor(r, c), RecordGrid::kDefaultColour);
            QCOMPARE(grid.cellForeColor(r, c), RecordGrid::kDefaultColour);
        }
    }
}

void TestRecordLoader::reloadOnEmptyGrid() {
    DataFile data;
    data.write(recordLine("甲", "2024-04-04 09:00"));
    const FixedClock clock(QDateTime(kToday, QTime(10, 0)));
    RecordGrid grid = freshGrid(recordcolumns::kMainGridColumns);
    QCOMPARE(reloadDueToday(grid, data.path(), clock).taken, 1);
    verifyShape(grid, 1);
    QCOMPARE(grid.textMatrix(1, 1), QStringLiteral("甲"));

    // A day later nothing is due: the grid goes back to its two rows.
    QCOMPARE(
        reloadDueToday(grid, data.path(), FixedClock(QDateTime(kToday.addDays(1), QTime(0, 0))))
            .taken,
        0);
    verifyShape(grid, 0);
    QCOMPARE(grid.textMatrix(0, 1), QStringLiteral("工程部位"));
}

void TestRecordLoader::editorSelection_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QList<CarriedLine>>("carried");

    using C = QList<CarriedLine>;
    const QByteArray a = recordLine("甲", "2024-04-04 09:00");
    const QByteArray b = recordLine("乙", "2024-04-05 09:00");
    const QByteArray twelve = recordLine("十二", "2024-04-04 09:00", "到期") + ",";
    const QByteArray ten = gbk::encode(QStringLiteral("十,C30,PB-1,,,,,,,"));
    const QByteArray broken = QByteArray("\xFF\xFE,C30,PB-1,,,,,,,,");
    const QByteArray marked = recordLine("已到", "2024-04-04 09:00", "到期");

    QTest::newRow("ten commas skipped") << QByteArray(",,,,,,,,,,") << QStringList{} << C{};
    QTest::newRow("lines of commas and empty lines dropped")
        << joinLines({"", ",", ",,,,,,,,,,,,,,,", a, "", ",,,,,,,,,,"}) << QStringList{"甲"} << C{};
    QTest::newRow("empty strength grade taken")
        << gbk::encode(
               QStringLiteral("无等级,,PB-1,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,,,,"))
        << QStringList{"无等级"} << C{};
    QTest::newRow("only a remark taken") << QByteArray(",,,,,,,,,note,") << QStringList{""} << C{};
    QTest::newRow("twelve fields carried after one record")
        << joinLines({a, twelve, b}) << QStringList{"甲", "乙"} << C{{1, twelve}};
    QTest::newRow("ten fields carried first")
        << joinLines({ten, a}) << QStringList{"甲"} << C{{0, ten}};
    QTest::newRow("invalid GBK carried unchanged")
        << joinLines({a, b, broken}) << QStringList{"甲", "乙"} << C{{2, broken}};
    QTest::newRow("due mark in the eleventh field carried")
        << joinLines({marked, a}) << QStringList{"甲"} << C{{0, marked}};
    QTest::newRow("mixed") << joinLines({ten, a, twelve, broken, b, marked, ",,,,,,,,,,"})
                           << QStringList{"甲", "乙"}
                           << C{{0, ten}, {1, twelve}, {1, broken}, {2, marked}};
    QTest::newRow("NUL line carried")
        << QByteArray("\0\r\n", 3) + a << QStringList{"甲"} << C{{0, QByteArray("\0", 1)}};
    QTest::newRow("1 MB line carried") << joinLines({a, QByteArray(1 << 20, 'z')})
                                       << QStringList{"甲"} << C{{1, QByteArray(1 << 20, 'z')}};
}

void TestRecordLoader::editorSelection() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, taken);
    QFETCH(QList<CarriedLine>, carried);
    DataFile data;
    data.write(file);
    RecordGrid grid = freshGrid(recordcolumns::kEditorGridColumns);
    QList<CarriedLine> got;
    const LoadReport report = loadAllRecords(grid, data.path(), &got);
    QCOMPARE(report.status, FileStatus::Ok);
    QCOMPARE(report.taken, taken.size());
    verifyShape(grid, taken.size());
    QCOMPARE(columnTexts(grid, 1), taken + QStringList{""});
    QCOMPARE(got.size(), carried.size());
    for (qsizetype i = 0; i < got.size(); ++i) {
        QCOMPARE(got.at(i).afterRecords, carried.at(i).afterRecords);
        QCOMPARE(got.at(i).bytes, carried.at(i).bytes);
    }

    // Without a list for carried lines the same records load.
    RecordGrid again = freshGrid(recordcolumns::kEditorGridColumns);
    QCOMPARE(loadAllRecords(again, data.path(), nullptr).taken, taken.size());
}

void TestRecordLoader::editorPlacement() {
    DataFile data;
    data.write(recordLine("3号楼三层柱", "2024-04-04 09:05") + "\r\n,,,,,,,,,,");
    RecordGrid grid = freshGrid(recordcolumns::kEditorGridColumns);
    loadAllRecords(grid, data.path(), nullptr);
    verifyShape(grid, 1);
    QStringList row;
    for (int c = 1; c < grid.cols(); ++c) row << grid.textMatrix(1, c);
    QCOMPARE(row, (QStringList{"3号楼三层柱", "C30", "PB-017", "2024-3-7 09:05", "28",
                               "2024-04-04 09:05", "标准养护", "36", "2", "", ""}));
}

QTEST_APPLESS_MAIN(TestRecordLoader)
#include "tst_recordloader.moc"
