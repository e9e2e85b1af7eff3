// The 试验计划 window's work.
//
// BM_Planning_Projection projects 10,000 same-condition records over a two-year temperature log
// (the day table built from the log included); BM_Planning_Baseline is a plain loop that adds up
// the same daily temperatures from an array, stopping where each projection stopped. Target: within
// 3×.
//
// BM_PlanningRead_Select reads an a.bz of a million lines (85 MB) and selects the week ahead and
// the same-condition records still to come, as the window's reading thread does;
// BM_PlanningRead_Baseline only reads the file and counts its lines.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <vector>

#include "benchsupport.h"
#include "planning/equivalentage.h"
#include "planning/sameconditionrecords.h"
#include "planning/weekahead.h"
#include "platform/textfile.h"

namespace {

constexpr int kRecords = 10000;
const QDate kLogStart(2023, 1, 1);
constexpr int kLogDays = 730;
const QDate kToday(2024, 6, 1);

// A mean temperature for every day of two years: a seasonal swing from about -5 ℃ to 35 ℃, in
// tenths, with some day-to-day noise.
QMap<QDate, int> twoYearLog() {
    QMap<QDate, int> log;
    for (int d = 0; d < kLogDays; ++d) {
        const double season = 150 + 200 * std::sin(2 * M_PI * (d - 110) / 365.0);
        log.insert(kLogStart.addDays(d), int(season) + (d * 37) % 41 - 20);
    }
    return log;
}

std::vector<CastingTime> castings() {
    std::vector<CastingTime> list;
    for (int i = 0; i < kRecords; ++i)
        list.push_back({kLogStart.addDays(i * 37 % 700), (i * 53) % 1440});
    return list;
}

void BM_Planning_Projection(benchmark::State& state) {
    const QMap<QDate, int> log = twoYearLog();
    const std::vector<CastingTime> records = castings();
    for (auto _ : state) {
        const CuringTemperatures temperatures(log);
        qint64 ages = 0;
        for (const CastingTime& c : records)
            ages += projectEquivalentAge(temperatures, c, kToday).age;
        benchmark::DoNotOptimize(ages);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Planning_Baseline(benchmark::State& state) {
    // The same temperatures in a plain array (the days after the log at the projection's estimate)
    // and the number of days each projection went through.
    const QMap<QDate, int> log = twoYearLog();
    const CuringTemperatures temperatures(log);
    std::vector<int> tenths;
    for (qint64 day = kLogStart.toJulianDay(); day < kLogStart.toJulianDay() + kLogDays + 400;
         ++day) {
        bool estimated;
        tenths.push_back(temperatures.tenthsAt(day, &estimated));
    }
    std::vector<std::pair<qint64, int>> spans;  // first curing day's index, days
    for (const CastingTime& c : castings()) {
        const Projection p = projectEquivalentAge(temperatures, c, kToday);
        spans.push_back(
            {c.date.toJulianDay() + 1 - kLogStart.toJulianDay(), p.isDue() ? p.age : kSearchDays});
    }
    for (auto _ : state) {
        qint64 total = 0;
        for (const auto& [first, days] : spans) {
            int sum = 0;
            for (qint64 i = first; i < first + days; ++i)
                if (tenths[i] > 0) sum += tenths[i];
            total += sum;
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

// An a.bz of n records due over a thousand days up to 100 days from today: most are overdue.
const QString& spreadDataFile(int n) {
    static QTemporaryDir dir;
    static QMap<int, QString> paths;
    if (!paths.contains(n)) {
        const QString path = dir.filePath(QStringLiteral("a%1.bz").arg(n));
        const QString today = bench::kToday.toString(Qt::ISODate);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
        QStringList chunk;
        for (int i = 0; i < n; ++i) {
            const QString due = bench::kToday.addDays(i % 1000 - 900).toString(Qt::ISODate);
            chunk << bench::recordLine(i).replace(u',' + today, u',' + due);
            if (chunk.size() == 10000 || i == n - 1) {
                f.write(gbk::encode(chunk.join(QStringLiteral("\r\n"))));
                if (i != n - 1) f.write("\r\n");
                chunk.clear();
            }
        }
        paths.insert(n, path);
    }
    return paths[n];
}

void BM_PlanningRead_Select(benchmark::State& state) {
    const QString& path = spreadDataFile(int(state.range(0)));
    const QDateTime now(bench::kToday, QTime(12, 0));
    for (auto _ : state) {
        const FileContent file = readWholeFile(path);
        const WeekAhead week = selectWeekAhead(file.bytes, now.date(), 7);
        const QList<SameConditionRecord> same =
            findSameConditionRecords(file.bytes, rawline::dueKey(now));
        benchmark::DoNotOptimize(week.entries.size() + same.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PlanningRead_Baseline(benchmark::State& state) {
    const QString& path = spreadDataFile(int(state.range(0)));
    for (auto _ : state) {
        const FileContent file = readWholeFile(path);
        qsizetype lines = 0;
        for (const char *p = file.bytes.constData(), *end = p + file.bytes.size();
             (p = static_cast<const char*>(memchr(p, '\n', end - p))); ++p)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_Planning_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Planning_Projection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanningRead_Baseline)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanningRead_Select)->Arg(1000000)->Unit(benchmark::kMillisecond);
