// The due-time computation: the worked examples the records were made with, the carries, the
// calendar, and the quirks of the texts that stored due times depend on.

#include <QTest>

#include "editor/duetime.h"

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
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<QString>("age");
    QTest::addColumn<QString>("ageHours");
    QTest::addColumn<QString>("ageMinutes");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("due");

    const QDate mar7(2024, 3, 7);
    QTest::newRow("28 days") << mar7 << "09"
                             << "05"
                             << "28"
                             << "0"
                             << "0"
                             << "2024-4-4 9: 5"
                             << "2024-04-04 09:05";
    QTest::newRow("minute and hour carry into 1 March of a leap year") << QDate(2024, 2, 28) << "23"
                                                                       << "50"
                                                                       << "1"
                                                                       << "0"
                                                                       << "15"
                                                                       << "2024-3-1 0: 5"
                                                                       << "2024-03-01 00:05";
    QTest::newRow("extra hours and minutes") << mar7 << "14"
                                             << "30"
                                             << "7"
                                             << "3"
                                             << "30"
                                             << "2024-3-14 18: 0"
                                             << "2024-03-14 18:00";
    QTest::newRow("hour sum exactly 24") << mar7 << "10"
                                         << "00"
                                         << "3"
                                         << "14"
                                         << "0"
                                         << "2024-3-11 0: 0"
                                         << "2024-03-11 00:00";
    QTest::newRow("minute sum exactly 60") << mar7 << "08"
                                           << "45"
                                           << "1"
                                           << "0"
                                           << "15"
                                           << "2024-3-8 9: 0"
                                           << "2024-03-08 09:00";
    QTest::newRow("minute sum 59 stays") << mar7 << "08"
                                         << "44"
                                         << "1"
                                         << "0"
                                         << "15"
                                         << "2024-3-8 8: 59"
                                         << "2024-03-08 08:59";
    QTest::newRow("hour sum 23 stays") << mar7 << "20"
                                       << "0"
                                       << "3"
                                       << "3"
                                       << "0"
                                       << "2024-3-10 23: 0"
                                       << "2024-03-10 23:00";
    QTest::newRow("minute carry makes hour 24") << mar7 << "23"
                                                << "30"
                                                << "1"
                                                << "0"
                                                << "30"
                                                << "2024-3-9 0: 0"
                                                << "2024-03-09 00:00";
    QTest::newRow("largest in-range sums carry once each") << mar7 << "23"
                                                           << "59"
                                                           << "1"
                                                           << "23"
                                                           << "59"
                                                           << "2024-3-9 23: 58"
                                                           << "2024-03-09 23:58";
    QTest::newRow("28 Feb + 1 in a leap year") << QDate(2024, 2, 28) << "08"
                                               << "00"
                                               << "1"
                                               << "0"
                                               << "0"
                                               << "2024-2-29 8: 0"
                                               << "2024-02-29 08:00";
    QTest::newRow("28 Feb + 1 in a common year") << QDate(2023, 2, 28) << "08"
                                                 << "00"
                                                 << "1"
                                                 << "0"
                                                 << "0"
                                                 << "2023-3-1 8: 0"
                                                 << "2023-03-01 08:00";
    QTest::newRow("28 Feb 2100 + 1, not a leap year") << QDate(2100, 2, 28) << "08"
                                                      << "00"
                                                      << "1"
                                                      << "0"
                                                      << "0"
                                                      << "2100-3-1 8: 0"
                                                      << "2100-03-01 08:00";
    QTest::newRow("28 Feb 2000 + 1, a leap year") << QDate(2000, 2, 28) << "08"
                                                  << "00"
                                                  << "1"
                                                  << "0"
                                                  << "0"
                                                  << "2000-2-29 8: 0"
                                                  << "2000-02-29 08:00";
    QTest::newRow("29 Feb + 365 days") << QDate(2024, 2, 29) << "08"
                                       << "00"
                                       << "365"
                                       << "0"
                                       << "0"
                                       << "2025-2-28 8: 0"
                                       << "2025-02-28 08:00";
    QTest::newRow("31 Jan + 28 days") << QDate(2024, 1, 31) << "08"
                                      << "00"
                                      << "28"
                                      << "0"
                                      << "0"
                                      << "2024-2-28 8: 0"
                                      << "2024-02-28 08:00";
    QTest::newRow("hour carry over the year end") << QDate(2024, 12, 31) << "22"
                                                  << "0"
                                                  << "1"
                                                  << "2"
                                                  << "0"
                                                  << "2025-1-2 0: 0"
                                                  << "2025-01-02 00:00";
    QTest::newRow("7.9 days adds seven") << mar7 << "09"
                                         << "05"
                                         << "7.9"
                                         << "0"
                                         << "0"
                                         << "2024-3-14 9: 5"
                                         << "2024-03-14 09:05";
    QTest::newRow("1 day 12 hours from 08:00") << mar7 << "08"
                                               << "00"
                                               << "1"
                                               << "12"
                                               << "0"
                                               << "2024-3-8 20: 0"
                                               << "2024-03-08 20:00";
    QTest::newRow("hour typed 9") << mar7 << "9"
                                  << "5"
                                  << "28"
                                  << "0"
                                  << "0"
                                  << "2024-4-4 9: 5"
                                  << "2024-04-04 09:05";
    QTest::newRow("hour typed 09") << mar7 << "09"
                                   << "05"
                                   << "28"
                                   << "0"
                                   << "0"
                                   << "2024-4-4 9: 5"
                                   << "2024-04-04 09:05";
    QTest::newRow("fractional hour 8.5 passes through") << mar7 << "8.5"
                                                        << "00"
                                                        << "1"
                                                        << "0"
                                                        << "0"
                                                        << "2024-3-8 8.5: 0"
                                                        << "2024-03-08 08.5:00";
    QTest::newRow("fraction below one has no zero before the point") << mar7 << "08"
                                                                     << "0.5"
                                                                     << "1"
                                                                     << "0"
                                                                     << "0"
                                                                     << "2024-3-8 8: .5"
                                                                     << "2024-03-08 08:.5";
    QTest::newRow("numbers read leniently") << mar7 << " 7点"
                                            << "abc"
                                            << " 3天"
                                            << ""
                                            << "2x"
                                            << "2024-3-10 7: 2"
                                            << "2024-03-10 07:02";
    QTest::newRow("empty hour and minute") << mar7 << ""
                                           << ""
                                           << "2"
                                           << ""
                                           << ""
                                           << "2024-3-9 0: 0"
                                           << "2024-03-09 00:00";
    QTest::newRow("hours beyond one carry are not carried again") << mar7 << "50"
                                                                  << "0"
                                                                  << "1"
                                                                  << "0"
                                                                  << "0"
                                                                  << "2024-3-9 26: 0"
                                                                  << "2024-03-09 26:00";
    QTest::newRow("last day of the calendar") << QDate(9999, 12, 30) << "08"
                                              << "00"
                                              << "1"
                                              << "0"
                                              << "0"
                                              << "9999-12-31 8: 0"
                                              << "9999-12-31 08:00";
}

void TestDueTime::computesDueTime() {
    QFETCH(QDate, castingDate);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(QString, age);
    QFETCH(QString, ageHours);
    QFETCH(QString, ageMinutes);
    QFETCH(QString, raw);
    QFETCH(QString, due);

    QCOMPARE(rawDueTime(castingDate, hour, minute, age, ageHours, ageMinutes), raw);
    QCOMPARE(tianjia(castingDate, hour, minute, age, ageHours, ageMinutes), due);
}

void TestDueTime::noDueTime_data() {
    QTest::addColumn<QDate>("castingDate");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("age");

    const QDate mar7(2024, 3, 7);
    QTest::newRow("age 0") << mar7 << "09"
                           << "0";
    QTest::newRow("age 0.9") << mar7 << "09"
                             << "0.9";
    QTest::newRow("negative age") << mar7 << "09"
                                  << "-3";
    QTest::newRow("age without a number") << mar7 << "09"
                                          << "abc";
    QTest::newRow("empty age") << mar7 << "09"
                               << "";
    QTest::newRow("blank age") << mar7 << "09"
                               << " ";
    QTest::newRow("due date after 9999") << QDate(9999, 12, 1) << "09"
                                         << "31";
    QTest::newRow("hour carry after 31 Dec 9999") << QDate(9999, 12, 30) << "24"
                                                  << "1";
    QTest::newRow("age of 10^22 days") << mar7 << "09"
                                       << "10000000000000000000000";
    QTest::newRow("age too long for a double") << mar7 << "09" << QString(400, u'9');
    QTest::newRow("no casting date") << QDate() << "09"
                                     << "28";
}

void TestDueTime::noDueTime() {
    QFETCH(QDate, castingDate);
    QFETCH(QString, hour);
    QFETCH(QString, age);
    QCOMPARE(rawDueTime(castingDate, hour, u"00", age, u"0", u"0"), std::nullopt);
    QCOMPARE(tianjia(castingDate, hour, u"00", age, u"0", u"0"), std::nullopt);
}

void TestDueTime::timesorting_data() {
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("normalised");

    QTest::newRow("one-digit fields gain a zero") << "2024-12-5 7: 3"
                                                  << "2024-12-05 07:03";
    QTest::newRow("two-character fields stay") << "2024-12-15 17: 43"
                                               << "2024-12-15 17:43";
    QTest::newRow("date with leading zeros") << "2024-03-07 9: 5"
                                             << "2024-03-07 09:05";
    QTest::newRow("three-character field gets a 0 in front") << "2024-3-7 100: 5"
                                                             << "2024-03-07 0100:05";
    QTest::newRow("two blanks give an empty hour") << "2024-3-7  5"
                                                   << "2024-03-07 0:05";
    QTest::newRow("further fields are ignored") << "2024-3-7 9: 5 x y"
                                                << "2024-03-07 09:05";
    QTest::newRow("further date parts are ignored") << "2024-3-7-9 9: 5"
                                                    << "2024-03-07 09:05";
    QTest::newRow("year kept as it stands") << "824-3-7 9: 5"
                                            << "824-03-07 09:05";
    QTest::newRow("every colon leaves the hour") << "2024-3-7 :1:: 5"
                                                 << "2024-03-07 01:05";
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
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("8.5") << 8.5 << " 8.5";
    QTest::newRow("0.5 without its zero") << 0.5 << " .5";
    QTest::newRow("-0.5") << -0.5 << "-.5";
    QTest::newRow("-3") << -3.0 << "-3";
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
