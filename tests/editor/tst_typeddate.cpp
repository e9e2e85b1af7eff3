// Dates typed into the casting-date field.

#include <QTest>

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
        QTest::newRow("blanks around") << "  2026-11-5 " << nov5;
        QTest::newRow("29 February of a common year") << "2026-2-29" << QDate();
        QTest::newRow("30 February") << "2026/02/30" << QDate();
        QTest::newRow("day 0") << "20261100" << QDate();
        QTest::newRow("mixed separators") << "2026-11/5" << QDate();
        QTest::newRow("dots") << "2026.11.5" << QDate();
        QTest::newRow("two-digit year") << "26-11-5" << QDate();
        QTest::newRow("seven digits") << "2026115" << QDate();
        QTest::newRow("day and month first") << "5-11-2026" << QDate();
        QTest::newRow("time after the date") << "2026-11-5 09:00" << QDate();
        QTest::newRow("words") << "明天" << QDate();
    }
    void typedDate() {
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        QCOMPARE(readTypedDate(typed).value_or(QDate()), date);
    }
};

QTEST_APPLESS_MAIN(TestTypedDate)
#include "tst_typeddate.moc"
