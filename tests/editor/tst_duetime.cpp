// The due time (the worked examples, the carries, month ends, and the quirks of the texts that
// stored due times depend on), and the dates typed into the casting-date field.

#include <QTest>

#include "editor/duetime.h"
#include "editor/typeddate.h"

class TestDueTime : public QObject {
    Q_OBJECT
  private slots:
    void typedDate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");  // invalid: refused
        const QDate nov5(2026, 11, 5);
        QTest::newRow("dashes, one-digit day") << "2026-11-5" << nov5;
        QTest::newRow("slashes") << "2026/11/5" << nov5;
        QTest::newRow("eight digits") << "20261105" << nov5;
        QTest::newRow("29 February of a common year") << "2026-2-29" << QDate();
        QTest::newRow("day 0") << "20261100" << QDate();
        QTest::newRow("mixed separators") << "2026-11/5" << QDate();
        QTest::newRow("seven digits") << "2026115" << QDate();
        QTest::newRow("day and month first") << "5-11-2026" << QDate();
        QTest::newRow("time after the date") << "2026-11-5 09:00" << QDate();
    }
    void typedDate() {
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        QCOMPARE(readTypedDate(typed).value_or(QDate()), date);
    }

    void dueTime_data() {
        QTest::addColumn<QStringList>("in");  // date, hour, minute, days, extra hours and minutes
        QTest::addColumn<QString>("due");     // empty: none
        const auto row = [](const char* name, const char* in, const char* due) {
            QTest::newRow(name) << QString::fromUtf8(in).split(u'|') << QString::fromUtf8(due);
        };
        row("example 1: 28 days", "2024-03-07|09|05|28|0|0", "2024-04-04 09:05");
        row("example 2: both carries into 1 March", "2024-02-28|23|50|1|0|15", "2024-03-01 00:05");
        row("example 3: extra hours and minutes", "2024-03-07|14|30|7|3|30", "2024-03-14 18:00");
        row("example 4: hour sum exactly 24", "2024-03-07|10|00|3|14|0", "2024-03-11 00:00");
        row("minute sum exactly 60", "2024-03-07|08|45|1|0|15", "2024-03-08 09:00");
        row("minute carry makes hour 24", "2024-03-07|23|30|1|0|30", "2024-03-09 00:00");
        row("hours beyond one carry stay", "2024-03-07|50|0|1|0|0", "2024-03-09 26:00");
        row("a three-digit hour gains one zero", "2024-03-07|130|0|1|0|0", "2024-03-09 0106:00");
        row("28 Feb + 1, leap year", "2024-02-28|08|00|1|0|0", "2024-02-29 08:00");
        row("28 Feb + 1, common year", "2023-02-28|08|00|1|0|0", "2023-03-01 08:00");
        row("hour carry over the year end", "2024-12-31|22|0|1|2|0", "2025-01-02 00:00");
        row("7.9 days adds seven", "2024-03-07|09|05|7.9|0|0", "2024-03-14 09:05");
        row("fractional hour 8.5", "2024-03-07|8.5|00|1|0|0", "2024-03-08 08.5:00");
        row("minute sum with binary noise", "2024-03-07|08|0.1|1|0|0.2", "2024-03-08 08:.3");
        row("numbers read leniently", "2024-03-07| 7点|abc| 3天||2x", "2024-03-10 07:02");
        row("age 0.9", "2024-03-07|09|00|0.9|0|0", "");
        row("age without a number", "2024-03-07|09|00|abc|0|0", "");
        row("due date after 9999", "9999-12-01|09|00|31|0|0", "");
        row("hour carry after 31 Dec 9999", "9999-12-30|24|00|1|0|0", "");
        row("age too long for a double",
            qPrintable("2024-03-07|09|00|" + QString(400, u'9') + "|0|0"), "");
    }
    void dueTime() {
        QFETCH(QStringList, in);
        QFETCH(QString, due);
        const QDate date = QDate::fromString(in[0], Qt::ISODate);
        QCOMPARE(tianjia(date, in[1], in[2], in[3], in[4], in[5]).value_or("none"),
                 due.isEmpty() ? "none" : due);
    }
};

QTEST_APPLESS_MAIN(TestDueTime)
#include "tst_duetime.moc"
