// qw.csv: what is read, what is written back (unreadable lines kept where they stood), edits, and
// imports in both encodings.

#include <QTest>

#include "planning/temperaturelog.h"
#include "platform/gbkcodec.h"

namespace {

QByteArray gbkLines(const QString& lines) {
    return gbk::encode(QString(lines).replace(u'|', QStringLiteral("\r\n")));
}

QString daysOf(const TemperatureLog& log) {
    QStringList out;
    for (auto it = log.days().cbegin(); it != log.days().cend(); ++it)
        out << it.key().toString(Qt::ISODate) + u'=' + QString::number(*it);
    return out.join(u' ');
}

}  // namespace

class TestTemperatureLog : public QObject {
    Q_OBJECT
  private slots:
    // Lines are given with "|" for CR LF; the written file ends every line with CR LF.
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<int>("unreadable");
        const auto row = [](const char* name, const char* file, const char* written, int bad) {
            QTest::newRow(name) << gbkLines(QString::fromUtf8(file))
                                << gbkLines(QString::fromUtf8(written)) << bad;
        };
        row("as written", "日期,日平均气温|2024-01-01,-2.5|2024-01-02,0|",
            "日期,日平均气温|2024-01-01,-2.5|2024-01-02,0|", 0);
        row("dates sorted and padded, numbers normalised",
            "日期,日平均气温|2024/1/3,+3.0|2024-1-1, -0.5 |",
            "日期,日平均气温|2024-01-01,-0.5|2024-01-03,3|", 0);
        row("no header, lone line ends", "2024-01-02,2\n2024-01-01,1\r2024-01-03,3",
            "日期,日平均气温|2024-01-01,1|2024-01-02,2|2024-01-03,3|", 0);
        row("damaged lines kept where they stood",
            "日期,日平均气温|坏行|2024-01-01,1|2024-01-02,abc|2024-01-03,3|2024-02-30,1|",
            "日期,日平均气温|坏行|2024-01-01,1|2024-01-02,abc|2024-01-03,3|2024-02-30,1|", 3);
        row("two decimals and beyond 60 are damaged",
            "日期,日平均气温|2024-01-01,1.25|2024-01-02,61|",
            "日期,日平均气温|2024-01-01,1.25|2024-01-02,61|", 2);
        row("a later line of a date counts, the earlier is kept",
            "日期,日平均气温|2024-01-01,1|2024-01-02,2|2024-01-01,5|",
            "日期,日平均气温|2024-01-01,1|2024-01-01,5|2024-01-02,2|", 1);
        row("blank lines dropped", "日期,日平均气温||  |2024-01-01,1||",
            "日期,日平均气温|2024-01-01,1|", 0);
        QTest::newRow("bytes that are not GBK kept as they are")
            << QByteArray("2024-01-01,1\r\n\xff\xfe,\x81\r\n")
            << (gbkLines("日期,日平均气温|2024-01-01,1|") + QByteArray("\xff\xfe,\x81\r\n")) << 1;
    }
    void roundTrip() {
        QFETCH(QByteArray, file);
        const TemperatureLog log = TemperatureLog::fromBytes(file);
        QTEST(log.toBytes(), "written");
        QTEST(log.unreadableCount(), "unreadable");
    }

    void edits_data() {
        QTest::addColumn<QString>("edit");  // "+date=T" sets a day, "-date" removes one
        QTest::addColumn<QByteArray>("written");
        const QString file = QStringLiteral("日期,日平均气温|2024-01-01,1|坏行|2024-01-03,3|");
        QTest::newRow("removing the day before a kept line keeps the line")
            << "-2024-01-01" << gbkLines("日期,日平均气温|坏行|2024-01-03,3|");
        QTest::newRow("a day added after a kept line")
            << "+2024-01-02=4.5"
            << gbkLines("日期,日平均气温|2024-01-01,1|坏行|2024-01-02,4.5|2024-01-03,3|");
        QTest::newRow("a logged day changed")
            << "+2024-01-03=-1" << gbkLines("日期,日平均气温|2024-01-01,1|坏行|2024-01-03,-1|");
        QTest::newRow("removing every day keeps the line")
            << "-2024-01-01 -2024-01-03" << gbkLines("日期,日平均气温|坏行|");
    }
    void edits() {
        QFETCH(QString, edit);
        TemperatureLog log =
            TemperatureLog::fromBytes(gbkLines("日期,日平均气温|2024-01-01,1|坏行|2024-01-03,3|"));
        for (const QString& e : edit.split(u' ')) {
            const QStringList parts = e.mid(1).split(u'=');
            const QDate date = QDate::fromString(parts[0], Qt::ISODate);
            if (e.startsWith(u'-'))
                QVERIFY(log.removeDay(date));
            else
                log.setDay(date, *TemperatureLog::parseTenths(parts[1]));
        }
        QTEST(log.toBytes(), "written");
    }

    void import_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("taken");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<QString>("days");  // the log afterwards; it held 2024-01-01 at 1 ℃
        const auto utf8 = [](const char* text) { return QByteArray(text); };
        QTest::newRow("GBK with header") << gbk::encode(u"日期,日平均气温\r\n2024-01-02,2.5\r\n")
                                         << 1 << 0 << "2024-01-01=10 2024-01-02=25";
        QTest::newRow("UTF-8 with header")
            << utf8("日期,气温（℃）\n2024/1/2,3\n") << 1 << 0 << "2024-01-01=10 2024-01-02=30";
        QTest::newRow("UTF-8 with its mark, no header")
            << utf8(
                   "\xef\xbb\xbf"
                   "2024-01-02,3\r\n2024-01-03,4")
            << 2 << 0 << "2024-01-01=10 2024-01-02=30 2024-01-03=40";
        QTest::newRow("duplicate date replaced")
            << utf8("2024-01-01,7\n") << 1 << 0 << "2024-01-01=70";
        QTest::newRow("last of a date in the file wins")
            << utf8("2024-01-02,5\n2024-01-02,6\n") << 2 << 0 << "2024-01-01=10 2024-01-02=60";
        QTest::newRow("more decimals rounded half away from zero")
            << utf8("2024-01-02,12.35\n2024-01-03,-0.05\n2024-01-04,0.049\n") << 3 << 0
            << "2024-01-01=10 2024-01-02=124 2024-01-03=-1 2024-01-04=0";
        QTest::newRow("quotes and blanks around fields")
            << utf8("\"日期\",\"气温\"\r\n \"2024-01-02\" , \"4.5\" ,\r\n") << 1 << 0
            << "2024-01-01=10 2024-01-02=45";
        QTest::newRow("unreadable lines counted, blank ones not")
            << gbk::encode(
                   u"日期,气温\n2024-13-01,3\n\n备注\n2024-01-02\n2024-01-03,5,晴\n2024-01-04,-"
                   u"70\n")
            << 0 << 5 << "2024-01-01=10";
    }
    void import() {
        QFETCH(QByteArray, bytes);
        TemperatureLog log = TemperatureLog::fromBytes("2024-01-01,1");
        const TemperatureLog::ImportReport report = log.import(bytes);
        QTEST(report.taken, "taken");
        QTEST(report.skipped, "skipped");
        QTEST(daysOf(log), "days");
    }
};

QTEST_APPLESS_MAIN(TestTemperatureLog)
#include "tst_temperaturelog.moc"
