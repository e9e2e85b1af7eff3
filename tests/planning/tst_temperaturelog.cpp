// qw.csv: what is read and written back (unreadable lines kept where they stood), and imports in
// both encodings.

#include <QTest>

#include "planning/temperaturelog.h"
#include "platform/gbkcodec.h"

namespace {

// "|" stands for CR LF.
QByteArray gbkLines(const char* lines) {
    return gbk::encode(QString::fromUtf8(lines).replace(u'|', QStringLiteral("\r\n")));
}

}  // namespace

class TestTemperatureLog : public QObject {
    Q_OBJECT
  private slots:
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<int>("unreadable");
        const auto row = [](const char* name, const char* file, const char* written, int bad) {
            QTest::newRow(name) << gbkLines(file) << gbkLines(written) << bad;
        };
        const char* damaged =
            "日期,日平均气温|坏行|2024-01-01,1|2024-01-02,abc|2024-01-03,3|2024-02-30,1|";
        row("damaged lines kept where they stood", damaged, damaged, 3);
        row("dates sorted and padded, numbers normalised",
            "日期,日平均气温|2024/1/3,+3.0|2024-1-1, -0.5 |",
            "日期,日平均气温|2024-01-01,-0.5|2024-01-03,3|", 0);
        row("no header, lone line ends", "2024-01-02,2\n2024-01-01,1\r2024-01-03,3",
            "日期,日平均气温|2024-01-01,1|2024-01-02,2|2024-01-03,3|", 0);
        row("two decimals and beyond 60 are damaged",
            "日期,日平均气温|2024-01-01,1.25|2024-01-02,61|",
            "日期,日平均气温|2024-01-01,1.25|2024-01-02,61|", 2);
        row("a later line of a date counts, the earlier is kept",
            "日期,日平均气温|2024-01-01,1|2024-01-02,2|2024-01-01,5|",
            "日期,日平均气温|2024-01-01,1|2024-01-01,5|2024-01-02,2|", 1);
        QTest::newRow("bytes that are not GBK kept as they are")
            << QByteArray("2024-01-01,1\r\n\xff\xfe,\x81\r\n")
            << gbkLines("日期,日平均气温|2024-01-01,1|") + "\xff\xfe,\x81\r\n"
            << 1;
    }
    void roundTrip() {
        QFETCH(QByteArray, file);
        const TemperatureLog log = TemperatureLog::fromBytes(file);
        QTEST(log.toBytes(), "written");
        QTEST(log.unreadableCount(), "unreadable");
    }

    // Into a log of 1 January at 1 ℃.
    void import_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("report");  // lines taken/the numbers of those skipped
        QTest::addColumn<QString>("days");    // date=tenths of ℃ afterwards
        const auto row = [](const char* name, const QByteArray& bytes, const char* report,
                            const char* days) { QTest::newRow(name) << bytes << report << days; };
        row("GBK with header", gbkLines("日期,日平均气温|2024-01-02,2.5|"), "1/",
            "2024-01-01=10 2024-01-02=25");
        row("UTF-8 with header", "日期,气温（℃）\n2024/1/2,3\n", "1/",
            "2024-01-01=10 2024-01-02=30");
        row("UTF-8 with its mark, no header", "\uFEFF2024-01-02,3\r\n2024-01-03,4", "2/",
            "2024-01-01=10 2024-01-02=30 2024-01-03=40");
        row("duplicate date replaced", "2024-01-01,7\n", "1/", "2024-01-01=70");
        row("last of a date in the file wins", "2024-01-02,5\n2024-01-02,6\n", "2/",
            "2024-01-01=10 2024-01-02=60");
        row("more decimals rounded half away from zero",
            "2024-01-02,12.35\n2024-01-03,-0.05\n2024-01-04,0.049\n", "3/",
            "2024-01-01=10 2024-01-02=124 2024-01-03=-1 2024-01-04=0");
        row("quotes and blanks around fields",
            "\"日期\",\"气温\"\r\n \"2024-01-02\" , \"4.5\" ,\r\n", "1/",
            "2024-01-01=10 2024-01-02=45");
        row("unreadable lines counted, blank ones not",
            gbkLines("日期,气温|2024-13-01,3||备注|2024-01-02|2024-01-03,5,晴|2024-01-04,-70|"),
            "0/2 4 5 6 7", "2024-01-01=10");
        row("dates with points, not mixed", "2026.12.5,3\r\n2026.12-6,4\r\n2026.1.07,5\r\n", "2/2",
            "2024-01-01=10 2026-01-07=50 2026-12-05=30");
    }
    void import() {
        QFETCH(QByteArray, bytes);
        TemperatureLog log = TemperatureLog::fromBytes("2024-01-01,1");
        const TemperatureLog::ImportReport report = log.import(bytes);
        QStringList skipped;
        for (int n : report.skippedLines) skipped << QString::number(n);
        QTEST(QStringLiteral("%1/%2").arg(report.taken).arg(skipped.join(u' ')), "report");
        QStringList days;
        for (auto it = log.days().cbegin(); it != log.days().cend(); ++it)
            days << it.key().toString(Qt::ISODate) + u'=' + QString::number(*it);
        QTEST(days.join(u' '), "days");
    }
};

QTEST_APPLESS_MAIN(TestTemperatureLog)
#include "tst_temperaturelog.moc"
