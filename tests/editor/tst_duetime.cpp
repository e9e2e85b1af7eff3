// The due-time computation: the worked examples the records were made with, the carries, the
// calendar, and the quirks of the texts that stored due times depend on.

#include <QTest>

#include "editor/duetime.h"

namespace {

const QDate kMar7(2024, 3, 7);

// inputs: casting hour, casting minute, age in days, extra hours, extra minutes, split at "|".
void row(const char* name, QDate date, const char* inputs, const char* raw, const char* due) {
    QTest::newRow(name) << date << QString::fromUtf8(inputs).split(u'|') << QString::fromUtf8(raw)
                        << QString::fromUtf8(due);
}

}  // namespace

class TestDueTime : public QObject {
    Q_OBJECT
  private slots:
    void computesDueTime_data();
    void computesDueTime();
    void noDueTime_data();
    void noDueTime();
    void timesorting_data();
    void timesorting();
    void numberText_data();
    void numberText();
};

void TestDueTime::computesDueTime_data() {
    QTest::addColumn<QDate>("castingDate");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("due");

    row("28 days", kMar7, "09|05|28|0|0", "2024-4-4 9: 5", "2024-04-04 09:05");
    row("both carries into 1 March, leap year", QDate(2024, 2, 28), "23|50|1|0|15", "2024-3-1 0: 5",
        "2024-03-01 00:05");
    row("extra hours and minutes", kMar7, "14|30|7|3|30", "2024-3-14 18: 0", "2024-03-14 18:00");
    row("hour sum exactly 24", kMar7, "10|00|3|14|0", "2024-3-11 0: 0", "2024-03-11 00:00");
    row("minute sum exactly 60", kMar7, "08|45|1|0|15", "2024-3-8 9: 0", "2024-03-08 09:00");
    row("minute sum 59 stays", kMar7, "08|44|1|0|15", "2024-3-8 8: 59", "2024-03-08 08:59");
    row("hour sum 23 stays", kMar7, "20|0|3|3|0", "2024-3-10 23: 0", "2024-03-10 23:00");
    row("minute carry makes hour 24", kMar7, "23|30|1|0|30", "2024-3-9 0: 0", "2024-03-09 00:00");
    row("largest sums carry once each", kMar7, "23|59|1|23|59", "2024-3-9 23: 58",
        "2024-03-09 23:58");
    row("hours beyond one carry stay", kMar7, "50|0|1|0|0", "2024-3-9 26: 0", "2024-03-09 26:00");
    row("28 Feb + 1, leap year", QDate(2024, 2, 28), "08|00|1|0|0", "2024-2-29 8: 0",
        "2024-02-29 08:00");
    row("28 Feb + 1, common year", QDate(2023, 2, 28), "08|00|1|0|0", "2023-3-1 8: 0",
        "2023-03-01 08:00");
    row("29 Feb + 365 days", QDate(2024, 2, 29), "08|00|365|0|0", "2025-2-28 8: 0",
        "2025-02-28 08:00");
    row("hour carry over the year end", QDate(2024, 12, 31), "22|0|1|2|0", "2025-1-2 0: 0",
        "2025-01-02 00:00");
    row("last day of the calendar", QDate(9999, 12, 30), "08|00|1|0|0", "9999-12-31 8: 0",
        "9999-12-31 08:00");
    row("7.9 days adds seven", kMar7, "09|05|7.9|0|0", "2024-3-14 9: 5", "2024-03-14 09:05");
    row("1 day 12 hours from 08:00", kMar7, "08|00|1|12|0", "2024-3-8 20: 0", "2024-03-08 20:00");
    row("hour typed 9", kMar7, "9|5|28|0|0", "2024-4-4 9: 5", "2024-04-04 09:05");
    row("hour typed 09", kMar7, "09|05|28|0|0", "2024-4-4 9: 5", "2024-04-04 09:05");
    row("fractional hour 8.5", kMar7, "8.5|00|1|0|0", "2024-3-8 8.5: 0", "2024-03-08 08.5:00");
    row("fraction below one", kMar7, "08|0.5|1|0|0", "2024-3-8 8: .5", "2024-03-08 08:.5");
    row("numbers read leniently", kMar7, " 7点|abc| 3天||2x", "2024-3-10 7: 2", "2024-03-10 07:02");
}

void TestDueTime::computesDueTime() {
    QFETCH(QDate, castingDate);
    QFETCH(QStringList, inputs);
    QFETCH(QString, raw);
    QFETCH(QString, due);
    const auto& in = inputs;
    QCOMPARE(rawDueTime(castingDate, in[0], in[1], in[2], in[3], in[4]), raw);
    QCOMPARE(tianjia(castingDate, in[0], in[1], in[2], in[3], in[4]), due);
}

void TestDueTime::noDueTime_data() {
    QTest::addColumn<QDate>("castingDate");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("age");

    QTest::newRow("age 0.9") << kMar7 << "09"
                             << "0.9";
    QTest::newRow("negative age") << kMar7 << "09"
                                  << "-3";
    QTest::newRow("age without a number") << kMar7 << "09"
                                          << "abc";
    QTest::newRow("empty age") << kMar7 << "09"
                               << "";
    QTest::newRow("due date after 9999") << QDate(9999, 12, 1) << "09"
                                         << "31";
    QTest::newRow("hour carry after 31 Dec 9999") << QDate(9999, 12, 30) << "24"
                                                  << "1";
    QTest::newRow("age of 10^22 days") << kMar7 << "09"
                                       << "10000000000000000000000";
    QTest::newRow("age too long for a double") << kMar7 << "09" << QString(400, u'9');
}

void TestDueTime::noDueTime() {
    QFETCH(QDate, castingDate);
    QFETCH(QString, hour);
    QFETCH(QString, age);
    QCOMPARE(tianjia(castingDate, hour, u"00", age, u"0", u"0"), std::nullopt);
}

void TestDueTime::timesorting_data() {
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("normalised");

    QTest::newRow("one-digit fields gain a zero") << "2024-12-5 7: 3"
                                                  << "2024-12-05 07:03";
    QTest::newRow("two-character fields stay") << "2024-12-15 17: 43"
                                               << "2024-12-15 17:43";
    QTest::newRow("three characters get a 0 in front") << "2024-3-7 100: 5"
                                                       << "2024-03-07 0100:05";
    QTest::newRow("two blanks give an empty hour") << "2024-3-7  5"
                                                   << "2024-03-07 0:05";
    QTest::newRow("further fields ignored") << "2024-3-7-9 9: 5 x"
                                            << "2024-03-07 09:05";
    QTest::newRow("year kept as it stands") << "824-3-7 9: 5"
                                            << "824-03-07 09:05";
}

void TestDueTime::timesorting() {
    QFETCH(QString, raw);
    QFETCH(QString, normalised);
    QCOMPARE(Timesorting(raw), normalised);
}

void TestDueTime::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("14") << 14.0 << " 14";
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("0.5 without its zero") << 0.5 << " .5";
    QTest::newRow("-0.5") << -0.5 << "-.5";
    QTest::newRow("sum with binary noise") << 0.1 + 0.2 << " .3";
    QTest::newRow("twelve digits") << 123456789012.0 << " 123456789012";
}

void TestDueTime::numberText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(::numberText(value), text);
}

QTEST_APPLESS_MAIN(TestDueTime)
#include "tst_duetime.moc"
