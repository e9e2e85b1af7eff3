// The equivalent-age rule: rows for the seasons a lab meets, each worked out by hand from the rule,
// and random logs against the rule walked day by day.

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

#include "planning/equivalentage.h"

namespace {

const QDate kCast(2024, 1, 10);

// A log from runs "count*temperature" ("_" leaves the days unlogged), starting `offset` days after
// the casting date.
QMap<QDate, int> logOf(const QStringList& runs, int offset) {
    QMap<QDate, int> log;
    QDate day = kCast.addDays(offset);
    for (const QString& run : runs) {
        const QStringList parts = run.split(u'*');
        for (int i = 0; i < parts[0].toInt(); ++i, day = day.addDays(1))
            if (parts[1] != u"_") log.insert(day, qRound(parts[1].toDouble() * 10));
    }
    return log;
}

// All a projection tells: the due time and age (or why there is none), whether an estimated day
// was used, then tenths of ℃·d / days counted before today.
QString summary(const Projection& p) {
    using S = Projection::Status;
    if (p.status == S::EmptyLog || p.status == S::BeforeLog)
        return p.status == S::EmptyLog ? "empty log" : "before log";
    return QStringLiteral("%1%2 %3/%4")
        .arg(p.isDue() ? QStringLiteral("%1 day %2").arg(p.dueText()).arg(p.age) : "no due day")
        .arg(p.estimated ? " estimated" : "")
        .arg(p.tenthsSoFar)
        .arg(p.countedSoFar);
}

// A day's temperature by the rule's words: logged, or the mean of the last seven logged days
// before it; nothing without any.
std::optional<int> temperatureOf(const QMap<QDate, int>& log, QDate day, bool* estimated) {
    *estimated = !log.contains(day);
    if (!*estimated) return log.value(day);
    auto it = log.lowerBound(day);
    int n = 0;
    qint64 before = 0;
    for (; n < 7 && it != log.cbegin(); ++n) before += *--it;
    if (n == 0) return std::nullopt;
    return int(std::lround(double(before) / n));
}

// The rule walked day by day, straight from its words; `days` gets each day as
// "date tenths[~ when estimated] sum/counted".
Projection walk(const QMap<QDate, int>& log, const CastingTime& casting, QDate today,
                QStringList* days = nullptr) {
    Projection p;
    if (log.isEmpty()) return p;
    for (int i = 1, sum = 0, counted = 0; i <= kSearchDays; ++i) {
        const QDate day = casting.date.addDays(i);
        bool estimated = false;
        const std::optional<int> temperature = temperatureOf(log, day, &estimated);
        if (!temperature) {
            p.status = Projection::Status::BeforeLog;
            return p;
        }
        const int tenths = *temperature;
        p.estimated = p.estimated || estimated;
        sum += qMax(tenths, 0);
        counted += tenths > 0;
        if (days)
            *days << QStringLiteral("%1 %2%3 %4/%5")
                         .arg(day.toString(Qt::ISODate))
                         .arg(tenths)
                         .arg(estimated ? "~" : "")
                         .arg(sum)
                         .arg(counted);
        if (day < today) p.tenthsSoFar = sum, p.countedSoFar = counted;
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
        QTest::addColumn<QString>("casting");  // "hh:mm offset runs": the log from offset days on
        QTest::addColumn<int>("today");        // days after casting
        QTest::addColumn<QString>("projection");
        const auto row = [](const char* name, const QString& casting, int today, const char* p) {
            QTest::newRow(name) << casting << today << QString::fromLatin1(p);
        };
        // 12 days at 50 ℃ make 600 ℃·d, but the age is at least 14 counted days.
        row("warm month reaching 600 before day 14", "09:05 1 40*50", 5,
            "2024-01-24 09:05 day 14 2000/4");
        // Days 11 to 15 neither count nor take anything away: 30 counted days end on day 35.
        row("freezing days in the middle", "09:05 1 10*20 1*-2 1*0 1*-5 1*0 1*-1 40*20", 16,
            "2024-02-14 09:05 day 35 2000/10");
        // 5 ℃ on odd days, 0 ℃ on even ones: the 60th counted day is day 119, at 300 ℃·d.
        row("cold log reaching 60 counted days", "08:00 1 " + QString("1*5 1*0 ").repeated(60), 200,
            "2024-05-08 08:00 day 119 3000/60");
        // Days 1 to 3 at 10 ℃ and 4 to 10 at 14 ℃ (128 ℃·d); then the mean of the last seven
        // logged days, 14 ℃, until 600 is reached on day 44.
        row("estimates after the last logged day", "09:05 1 3*10 7*14", 3,
            "2024-02-23 09:05 day 44 estimated 200/2");
        // Days 11 to 15 take the mean of days 4 to 10 (16 ℃), not of all ten logged days.
        row("gap filled from the last seven logged days",
            "09:05 1 3*2 1*10 1*12 1*14 1*16 1*18 1*20 1*22 5*_ 40*16", 1,
            "2024-02-20 09:05 day 41 estimated 0/0");
        // The casting day itself is not a curing day, however warm it was.
        row("casting time of 23:50", "23:50 0 1*50 40*20", 31, "2024-02-09 23:50 day 30 6000/30");
        // Days 1 to 19 freeze; from day 20, 25 ℃ a day reach 600 on day 43, all after today.
        row("forecast days count like logged ones", "10:00 -20 40*-1 40*25", 1,
            "2024-02-22 10:00 day 43 0/0");
        // The user guide's worked example, cast on another date: 120 + 27 × 18 = 606 on day 39.
        row("the guide's worked example", "09:05 1 10*12 1*-2 1*0 40*18", 40,
            "2024-02-18 09:05 day 39 6060/37");
        row("empty log", "09:05 1", 5, "empty log");
        row("log without any day above 0", "09:05 1 10*0 1*-3", 5, "no due day estimated 0/0");
        row("log starting after the first curing day", "09:05 2 40*20", 5, "before log");
    }
    void projection() {
        QFETCH(QString, casting);
        QFETCH(int, today);
        const QStringList words = casting.split(u' ', Qt::SkipEmptyParts);
        const auto cast = parseCastingTime(kCast.toString(u"yyyy-M-d ") + words[0]);
        QVERIFY(cast);
        const CuringTemperatures log(logOf(words.mid(2), words[1].toInt()));
        QTEST(summary(projectEquivalentAge(log, *cast, kCast.addDays(today))), "projection");
    }

    void castingTime_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");  // "" when it is not a casting time
        // clang-format off
        QTest::newRow("as the editor writes it") << "2024-3-7 09:05" << "2024-03-07 545";
        QTest::newRow("slashes") << "2024/03/07 9:5" << "2024-03-07 545";
        QTest::newRow("points") << " 2026.12.5 23:59 " << "2026-12-05 1439";
        QTest::newRow("separators mixed") << "2026.12-5 10:00" << "";
        QTest::newRow("hour 24") << "2026-12-5 24:00" << "";
        // clang-format on
    }
    void castingTime() {
        QFETCH(QString, text);
        const auto casting = parseCastingTime(text);
        QTEST(casting ? QStringLiteral("%1 %2")
                            .arg(casting->date.toString(Qt::ISODate))
                            .arg(casting->minuteOfDay)
                      : QString(),
              "read");
    }

    // Random logs of every kind, castings from before the log to long after it. The curve the
    // chart draws holds the same days up to the due day.
    void sameAsTheDayByDayWalk_data() {
        QTest::addColumn<int>("mean");    // tenths of ℃
        QTest::addColumn<int>("spread");  // the daily value lies within mean ± spread
        QTest::addColumn<int>("logged");  // per cent of the days that are logged
        QTest::addColumn<int>("days");
        QTest::newRow("warm, every day") << 280 << 60 << 100 << 200;
        QTest::newRow("around freezing, sparse") << 20 << 80 << 30 << 300;
        QTest::newRow("freezing, rare thaws") << -60 << 80 << 90 << 150;
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
            QStringList walked;
            const Projection p = walk(log, casting, today, &walked);
            QCOMPARE(summary(projectEquivalentAge(temperatures, casting, today)), summary(p));
            const QList<CuringDay> curve = curingCurve(temperatures, casting, 0);
            QCOMPARE(curve.isEmpty(), p.status == Projection::Status::BeforeLog);
            QStringList drawn;
            for (const CuringDay& d : curve.mid(0, walked.size()))
                drawn << QStringLiteral("%1 %2%3 %4/%5")
                             .arg(d.date.toString(Qt::ISODate))
                             .arg(d.tenths)
                             .arg(d.estimated ? "~" : "")
                             .arg(d.sumTenths)
                             .arg(d.counted);
            if (!curve.isEmpty()) QCOMPARE(drawn, walked);
            // It goes on to the 60th counted day, or to the end of the search.
            if (!curve.isEmpty())
                QVERIFY(curve.last().counted == 60 || curve.size() == kSearchDays);
        }
    }
};

QTEST_APPLESS_MAIN(TestEquivalentAge)
#include "tst_equivalentage.moc"
