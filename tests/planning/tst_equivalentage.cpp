// The equivalent-age rule: the rows follow the seasons a lab meets, and each expectation is worked
// out by hand from the rule, not from the code.

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

#include "planning/equivalentage.h"

namespace {

const QDate kCast(2024, 1, 10);

// A log from runs "count*temperature" ("_" leaves the days unlogged), starting `offset` days after
// the casting date.
QMap<QDate, int> logOf(const QString& runs, int offset) {
    QMap<QDate, int> log;
    QDate day = kCast.addDays(offset);
    for (const QString& run : runs.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList parts = run.split(u'*');
        for (int i = 0; i < parts[0].toInt(); ++i, day = day.addDays(1))
            if (parts[1] != u"_") log.insert(day, qRound(parts[1].toDouble() * 10));
    }
    return log;
}

const char* statusName(Projection::Status s) {
    switch (s) {
        case Projection::Status::Due:
            return "due";
        case Projection::Status::EmptyLog:
            return "empty log";
        case Projection::Status::BeforeLog:
            return "before log";
        case Projection::Status::NoDueDay:
            return "no due day";
    }
    return "?";
}

// The rule walked day by day, straight from its words, for comparison.
Projection walk(const QMap<QDate, int>& log, const CastingTime& casting, QDate today) {
    Projection p;
    if (log.isEmpty()) return p;
    int sum = 0;
    int counted = 0;
    for (int i = 1; i <= kSearchDays; ++i) {
        const QDate day = casting.date.addDays(i);
        int tenths = log.value(day);
        if (!log.contains(day)) {
            auto it = log.lowerBound(day);
            int n = 0;
            qint64 before = 0;
            for (; n < 7 && it != log.cbegin(); ++n) before += *--it;
            if (n == 0) {
                p.status = Projection::Status::BeforeLog;
                return p;
            }
            tenths = int(std::lround(double(before) / n));
            p.estimated = true;
        }
        if (tenths > 0) {
            sum += tenths;
            ++counted;
        }
        if (day < today) {
            p.tenthsSoFar = sum;
            p.countedSoFar = counted;
        }
        if ((sum >= 6000 && counted >= 14) || counted >= 60) {
            p.status = Projection::Status::Due;
            p.age = i;
            p.dueDate = day;
            p.minuteOfDay = casting.minuteOfDay;
            return p;
        }
    }
    p.status = Projection::Status::NoDueDay;
    return p;
}

}  // namespace

class TestEquivalentAge : public QObject {
    Q_OBJECT
  private slots:
    void projection_data() {
        QTest::addColumn<QString>("log");
        QTest::addColumn<int>("offset");  // first logged day, counted from the casting date
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("today");  // days after casting
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("due");
        QTest::addColumn<int>("age");
        QTest::addColumn<bool>("estimated");
        QTest::addColumn<int>("soFar");  // tenths of ℃·d before today
        QTest::addColumn<int>("countedSoFar");
        const auto row = [](const char* name, const QString& log, int offset, const char* time,
                            int today, const char* status, const char* due, int age, bool estimated,
                            int soFar, int counted) {
            QTest::newRow(name) << log << offset << QString::fromLatin1(time) << today
                                << QString::fromLatin1(status) << QString::fromLatin1(due) << age
                                << estimated << soFar << counted;
        };
        // 12 days at 50 ℃ make 600 ℃·d, but the age is at least 14 counted days.
        row("warm month reaching 600 before day 14", "40*50", 1, "09:05", 5, "due",
            "2024-01-24 09:05", 14, false, 2000, 4);
        row("mild month", "40*20", 1, "09:05", 11, "due", "2024-02-09 09:05", 30, false, 2000, 10);
        // Days 11 to 15 neither count nor take anything away: 30 counted days end on day 35.
        row("freezing days in the middle", "10*20 1*-2 1*0 1*-5 1*0 1*-1 40*20", 1, "09:05", 16,
            "due", "2024-02-14 09:05", 35, false, 2000, 10);
        // 5 ℃ on odd days, 0 ℃ on even ones: the 60th counted day is day 119, at 300 ℃·d.
        row("cold log reaching 60 counted days", QString("1*5 1*0 ").repeated(60), 1, "08:00", 200,
            "due", "2024-05-08 08:00", 119, false, 3000, 60);
        // Days 1 to 3 at 10 ℃ and 4 to 10 at 14 ℃ (128 ℃·d); then the mean of the last seven
        // logged days, 14 ℃, until 600 is reached on day 44.
        row("estimates after the last logged day", "3*10 7*14", 1, "09:05", 3, "due",
            "2024-02-23 09:05", 44, true, 200, 2);
        // Days 11 to 15 take the mean of days 4 to 10 (16 ℃), not of all ten logged days.
        row("gap filled from the last seven logged days",
            "3*2 1*10 1*12 1*14 1*16 1*18 1*20 1*22 "
            "5*_ 40*16",
            1, "09:05", 1, "due", "2024-02-20 09:05", 41, true, 0, 0);
        // The casting day itself is not a curing day, however warm it was.
        row("casting time of 23:50", "1*50 40*20", 0, "23:50", 31, "due", "2024-02-09 23:50", 30,
            false, 6000, 30);
        // Days 1 to 19 freeze; from day 20, 25 ℃ a day reach 600 on day 43, all after today.
        row("forecast days count like logged ones", "40*-1 40*25", -20, "10:00", 1, "due",
            "2024-02-22 10:00", 43, false, 0, 0);
        // The user guide's worked example, cast on another date: 120 + 27 × 18 = 606 on day 39.
        row("the guide's worked example", "10*12 1*-2 1*0 40*18", 1, "09:05", 40, "due",
            "2024-02-18 09:05", 39, false, 6060, 37);
        row("empty log", "", 1, "09:05", 5, "empty log", "", 0, false, 0, 0);
        row("log without any day above 0", "10*0 1*-3", 1, "09:05", 5, "no due day", "", 0, true, 0,
            0);
        row("log starting after the first curing day", "40*20", 2, "09:05", 5, "before log", "", 0,
            false, 0, 0);
    }
    void projection() {
        QFETCH(QString, log);
        QFETCH(int, offset);
        QFETCH(QString, time);
        QFETCH(int, today);
        const CuringTemperatures temperatures(logOf(log, offset));
        const auto casting = parseCastingTime(kCast.toString(u"yyyy-M-d ") + time);
        QVERIFY(casting);
        const Projection p = projectEquivalentAge(temperatures, *casting, kCast.addDays(today));
        QTEST(QString::fromLatin1(statusName(p.status)), "status");
        QTEST(p.dueText(), "due");
        QTEST(p.age, "age");
        if (p.status == Projection::Status::BeforeLog || p.status == Projection::Status::EmptyLog)
            return;
        QTEST(p.estimated, "estimated");
        QTEST(p.tenthsSoFar, "soFar");
        QTEST(p.countedSoFar, "countedSoFar");
    }

    // Random logs of every kind, castings from before the log to long after it.
    void sameAsTheDayByDayWalk_data() {
        QTest::addColumn<int>("mean");    // tenths of ℃
        QTest::addColumn<int>("spread");  // the daily value lies within mean ± spread
        QTest::addColumn<int>("logged");  // per cent of the days that are logged
        QTest::addColumn<int>("days");
        QTest::newRow("warm, every day") << 280 << 60 << 100 << 200;
        QTest::newRow("mild with gaps") << 150 << 80 << 70 << 200;
        QTest::newRow("around freezing, sparse") << 20 << 80 << 30 << 300;
        QTest::newRow("freezing, rare thaws") << -60 << 80 << 90 << 150;
        QTest::newRow("a week of log") << 120 << 50 << 100 << 7;
        QTest::newRow("one day") << 100 << 0 << 100 << 1;
    }
    void sameAsTheDayByDayWalk() {
        QFETCH(int, mean);
        QFETCH(int, spread);
        QFETCH(int, logged);
        QFETCH(int, days);
        QRandomGenerator random(days * 1000 + logged);
        QMap<QDate, int> log;
        for (int d = 0; d < days; ++d)
            if (d == 0 || int(random.bounded(100)) < logged)
                log.insert(kCast.addDays(d), mean - spread + int(random.bounded(2 * spread + 1)));
        const CuringTemperatures temperatures(log);
        for (int c = -3; c < days + 400; c += 1 + int(random.bounded(3))) {
            const CastingTime casting{kCast.addDays(c), int(random.bounded(1440))};
            const QDate today = kCast.addDays(c + int(random.bounded(80)));
            const Projection want = walk(log, casting, today);
            const Projection got = projectEquivalentAge(temperatures, casting, today);
            const QString at = casting.date.toString(Qt::ISODate);
            QVERIFY2(got.status == want.status, qPrintable(at));
            QCOMPARE(got.dueText(), want.dueText());
            if (want.status == Projection::Status::BeforeLog) continue;
            QVERIFY2(got.estimated == want.estimated, qPrintable(at));
            QCOMPARE(got.tenthsSoFar, want.tenthsSoFar);
            QCOMPARE(got.countedSoFar, want.countedSoFar);
        }
    }

    void castingTime_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed");  // empty: none
        // clang-format off
        QTest::newRow("as the editor writes it") << "2024-3-7 09:05" << "2024-03-07 545";
        QTest::newRow("padded, slashes, one-digit time") << "2024/03/07 9:5" << "2024-03-07 545";
        QTest::newRow("blanks around") << "  2024-3-7  23:59 " << "2024-03-07 1439";
        QTest::newRow("no time") << "2024-3-7" << "";
        QTest::newRow("hour 24") << "2024-3-7 24:00" << "";
        QTest::newRow("fractional hour") << "2024-3-7 8.5:00" << "";
        QTest::newRow("30 February") << "2024-2-30 08:00" << "";
        // clang-format on
    }
    void castingTime() {
        QFETCH(QString, text);
        const auto c = parseCastingTime(text);
        QTEST(
            c ? c->date.toString(Qt::ISODate) + u' ' + QString::number(c->minuteOfDay) : QString(),
            "parsed");
    }
};

QTEST_APPLESS_MAIN(TestEquivalentAge)
#include "tst_equivalentage.moc"
