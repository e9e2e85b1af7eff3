// Taking a list away from the screen: CSV text as Excel wants it, the testing list of the week
// ahead, and its PDF on A4 pages (read back with poppler's pdfinfo and pdftotext).

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "editor/recordexport.h"
#include "planning/weekahead.h"
#include "planning/weekaheadreport.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"
#include "report/csvtext.h"
#include "report/reportdocument.h"

namespace {

// The output of a poppler tool run on the file.
QString poppler(const char* tool, QStringList arguments) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty()) qFatal("%s is missing: run scripts/setup.sh", tool);
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray lines(const QStringList& list) {
    return gbk::encode(list.join(QStringLiteral("\r\n")));
}

QString record(int i, const QString& due) {
    return QStringLiteral("部位%1,C30,PB-%1,2024-3-7 09:05,28,%2,标准养护,36,2,,")
        .arg(i, 4, 10, QLatin1Char('0'))
        .arg(due);
}

}  // namespace

class TestReport : public QObject {
    Q_OBJECT
  private slots:
    void csvField_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        // clang-format off
        QTest::newRow("Chinese") << "3号楼三层柱" << "3号楼三层柱";
        QTest::newRow("comma") << "A,B" << "\"A,B\"";
        QTest::newRow("quote doubled") << "6\"管" << "\"6\"\"管\"";
        QTest::newRow("line end inside") << "一\r\n二" << "\"一\r\n二\"";
        QTest::newRow("formula") << "=1+1" << "'=1+1";
        QTest::newRow("formula with a comma") << "=SUM(A1,A2)" << "\"'=SUM(A1,A2)\"";
        QTest::newRow("at sign") << "@x" << "'@x";
        QTest::newRow("negative number stays") << "-3.5" << "-3.5";
        QTest::newRow("plus number stays") << "+12" << "+12";
        QTest::newRow("a lone minus stays") << "-" << "-";
        QTest::newRow("minus before text") << "-1+A2" << "'-1+A2";
        // clang-format on
    }
    void csvField() {
        QFETCH(QString, text);
        QTEST(csv::field(text), "field");
    }

    // The chosen days grouped by day, times only under each day's heading; the overdue records
    // counted in the summary and left out of both the list and the CSV.
    void weekAheadList() {
        const QByteArray bytes =
            lines({record(1, "2024-04-05 14:00"), record(2, "2024-03-01 08:00"),
                   record(3, "2024-04-04 09:05"), record(4, "2024-04-05 07:30"),
                   record(5, "2024-04-20 10:00")});
        const WeekAhead week = selectWeekAhead(bytes, QDate(2024, 4, 4), 7);
        const ReportTable list = weekAheadTestingList(week, bytes);
        QCOMPARE(list.summary,
                 "2024-04-04 星期四 至 2024-04-10 星期三，共 3 批，6 组。"
                 "另有 1 批更早到期的记录仍在数据文件中，未列入本清单。");
        QCOMPARE(list.groups.size(), 2);
        QCOMPARE(list.groups[1].heading, "2024-04-05 星期五　共 2 批，4 组");
        QCOMPARE(list.groups[1].rows[0].mid(0, 2), QStringList({"07:30", "部位0004"}));
        QCOMPARE(list.groups[1].rows[1].mid(0, 2), QStringList({"14:00", "部位0001"}));

        const QStringList csvLines =
            QString::fromUtf8(weekAheadCsv(week, bytes).mid(3)).split("\r\n");
        QCOMPARE(csvLines.size(), 5);  // headings, three records, nothing after the last CR LF
        QCOMPARE(csvLines[1],
                 "2024-04-04 09:05,部位0003,C30,PB-0003,2024-3-7 09:05,28,标准养护,36,2,,");
        QCOMPARE(csvLines[4], "");
    }

    // A long list fills its pages: every record on exactly one page, in order, each page numbered
    // "第 n 页，共 N 页" with the time printed, as many pages in the file as the list reported.
    void longListPdf() {
        const int records = 600;  // over a week
        QStringList file;         // one record every quarter of an hour from today 00:00
        const QDateTime start(QDate(2024, 4, 4), QTime(0, 0));
        for (int i = records - 1; i >= 0; --i)
            file << record(i, start.addSecs(i * 900).toString("yyyy-MM-dd hh:mm"));
        const QByteArray bytes = lines(file);
        const ReportTable list =
            weekAheadTestingList(selectWeekAhead(bytes, QDate(2024, 4, 4), 7), bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("清单.pdf");
        QString error;
        int pages = 0;
        QVERIFY2(
            writeReportPdf(list, path, QPageLayout::Portrait, "2024-04-04 08:15", &error, &pages),
            qPrintable(error));
        QVERIFY(pages >= 8 && pages <= 20);
#ifdef Q_OS_WIN
        QSKIP("the pages are read back with poppler's tools, which run on Linux");
#endif
        QVERIFY(poppler("pdfinfo", {path})
                    .contains(QRegularExpression(QStringLiteral(
                        "Page size:\\s+595(\\.\\d+)? x 842(\\.\\d+)? pts \\(A4\\)"))));
        QVERIFY(poppler("pdfinfo", {path})
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))));
        int next = 0;  // the record expected next
        for (int p = 1; p <= pages; ++p) {
            const QString text = poppler(
                "pdftotext", {"-f", QString::number(p), "-l", QString::number(p), path, "-"});
            QVERIFY2(text.contains(QStringLiteral("第 %1 页，共 %2 页").arg(p).arg(pages)),
                     qPrintable(text));
            QVERIFY(text.contains("打印时间：2024-04-04 08:15"));
            const int first = next;
            static const QRegularExpression kPart(QStringLiteral("部位(\\d{4})"));
            for (auto it = kPart.globalMatch(text); it.hasNext();) {
                const int found = it.next().captured(1).toInt();
                QCOMPARE(found, next);
                ++next;
            }
            QVERIFY2(next > first, qPrintable(QStringLiteral("page %1 holds no record").arg(p)));
        }
        QCOMPARE(next, records);
    }

    // The editor's grid: every record under the grid's headings, in the background for CSV; a PDF
    // only for a list short enough to read on paper.
    void editorGrid() {
        RecordGrid grid(2, recordcolumns::kEditorGridColumns);
        for (int c = 0; c < grid.cols(); ++c) grid.setTextMatrix(0, c, recordHeadings().at(c));
        auto add = [&grid](const QString& line) {
            grid.setRecordCells(grid.rows() - 1, gbk::encode(line));
            grid.addItem();
        };
        add(record(1, "2024-04-05 14:00"));
        add(QStringLiteral("=2号\"柱\",C35,,,,,,,,复检 抗渗,到期"));
        FixedClock clock(QDateTime(QDate(2024, 4, 4), QTime(8, 0)));
        RecordingMessageService messages;
        QWidget view;
        RecordExport exporter(grid, &view, clock, messages);
        QTemporaryDir dir;
        QSignalSpy written(&exporter, &RecordExport::csvWritten);
        exporter.exportCsv(dir.filePath("全部.csv"));
        QVERIFY(written.wait(5000));
        QFile file(dir.filePath("全部.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(
            QString::fromUtf8(bytes.mid(3)),
            QStringLiteral("工程部位,强度等级(C),配合比编号,制作日期,龄期（D）,到期时间,养护方式,"
                           "工程量,组数,备注,是否到期\r\n") +
                record(1, "2024-04-05 14:00") +
                "\r\n\"'=2号\"\"柱\"\"\",C35,,,,,,,,复检 抗渗,到期\r\n");
        QCOMPARE(messages.texts().last(),
                 QStringLiteral("已导出 2 条记录到“%1”。")
                     .arg(QDir::toNativeSeparators(dir.filePath("全部.csv"))));

        QVERIFY(exporter.exportPdf(dir.filePath("全部.pdf")));
#ifndef Q_OS_WIN  // poppler's tools run on Linux
        QVERIFY(poppler("pdfinfo", {dir.filePath("全部.pdf")}).contains("842 x 595 pts (A4)"));
#endif
        while (grid.rows() - 2 <= RecordExport::kMaxPdfRecords)
            add(record(grid.rows(), "2024-04-05 14:00"));
        QVERIFY(!exporter.exportPdf(dir.filePath("长.pdf")));
        QVERIFY(messages.texts().last().startsWith("表格中有 10001 条记录，PDF 最多导出 10000 条"));
        QVERIFY(!QFile::exists(dir.filePath("长.pdf")));
        grid.removeItem(grid.rows() - 2);
        QVERIFY(exporter.exportPdf(dir.filePath("长.pdf")));
        QVERIFY(messages.texts().last().startsWith("已导出 10000 条记录（"));
    }

    // A PDF that cannot be written leaves nothing behind and says why.
    void pdfNotWritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath("没有的文件夹/清单.pdf");
        ReportTable list{"清单", "", {"甲"}, {{"", {{"1"}}}}};
        QString error;
        QVERIFY(!writeReportPdf(list, path, QPageLayout::Landscape, "", &error));
        QVERIFY(error.contains("无法保存"));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
