// Dates typed into the casting-date field, and the due-time texts that 添加 takes without asking.

#include <QTest>

#include "editor/duetime.h"
#include "editor/typeddate.h"

class TestTypedDate : public QObject {
    Q_OBJECT
  private slots:
    void typedDate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");  // invalid: refused
        const QDate nov5(2026, 11, 5);
        QTest::newRow("dashes, one-digit day") << "2026-11-5" << nov5;
        QTest::newRow("dashes, zero-filled") << "2026-11-05" << nov5;
        QTest::newRow("slashes") << "2026/11/5" << nov5;
        QTest::newRow("eight digits") << "20261105" << nov5;
        QTest::newRow("one-digit month") << "2026-1-15" << QDate(2026, 1, 15);
        QTest::newRow("eight digits, one-digit month") << "20260115" << QDate(2026, 1, 15);
        QTest::newRow("blanks around") << "  2026-11-5 " << nov5;
        QTest::newRow("leap day") << "2024-2-29" << QDate(2024, 2, 29);
        QTest::newRow("29 February of a common year") << "2026-2-29" << QDate();
        QTest::newRow("30 February") << "2026/02/30" << QDate();
        QTest::newRow("month 13") << "2026-13-1" << QDate();
        QTest::newRow("day 0") << "20261100" << QDate();
        QTest::newRow("year 0") << "0000-1-1" << QDate();
        QTest::newRow("mixed separators") << "2026-11/5" << QDate();
        QTest::newRow("dots") << "2026.11.5" << QDate();
        QTest::newRow("two-digit year") << "26-11-5" << QDate();
        QTest::newRow("three-digit month") << "2026-011-5" << QDate();
        QTest::newRow("seven digits") << "2026115" << QDate();
        QTest::newRow("nine digits") << "202611055" << QDate();
        QTest::newRow("day and month first") << "5-11-2026" << QDate();
        QTest::newRow("full-width digits") << "２０２６-11-5" << QDate();
        QTest::newRow("time after the date") << "2026-11-5 09:00" << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("words") << "明天" << QDate();
    }
    void typedDate() {
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        QCOMPARE(readTypedDate(typed).value_or(QDate()), date);
    }

    void dueTimeText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("as computed") << "2026-11-05 09:30" << true;
        QTest::newRow("midnight") << "2026-11-05 00:00" << true;
        QTest::newRow("last minute of a leap day") << "2024-02-29 23:59" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("impossible date and hour") << "2026-02-30 25:00" << false;
        QTest::newRow("30 February") << "2026-02-30 09:00" << false;
        QTest::newRow("hour 24") << "2026-11-05 24:00" << false;
        QTest::newRow("minute 60") << "2026-11-05 09:60" << false;
        QTest::newRow("month not zero-filled") << "2026-11-5 09:30" << false;
        QTest::newRow("slashes") << "2026/11/05 09:30" << false;
        QTest::newRow("seconds") << "2026-11-05 09:30:00" << false;
        QTest::newRow("date only") << "2026-11-05" << false;
        QTest::newRow("trailing blank") << "2026-11-05 09:30 " << false;
        QTest::newRow("fractional hour as computed") << "2026-11-05 08.5:00" << false;
        QTest::newRow("full-width digits") << "２026-11-05 09:30" << false;
    }
    void dueTimeText() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(isDueTimeText(text), valid);
    }
};

QTEST_APPLESS_MAIN(TestTypedDate)
#include "tst_typeddate.moc"
