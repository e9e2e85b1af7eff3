// Start-up and memory, each figure a fresh process (mirosta_startup_probe), so library loading and
// Qt's own start are counted as a user sees them:
//   BM_Startup_MainWindow/N   from starting the program to the end of the main window's first
//                             paint (its menu bar and grid drawn too), with N records in a.bz (all
//                             due today up to 32,765; 50 of 1,000,000; 0: the program's own
//                             start), beside
//   BM_Startup_Baseline       a bare Qt program painting one empty window;
//   BM_Startup_PlainWindow    a plain Qt program painting what the main window shows at its first
//                             paint (menu titles, a table headed like the grid, the program's
//                             font), made of Qt's widgets alone: what drawing that text costs
//                             without any of the program's own work;
//   BM_Startup_TodayList/N    the same to today's list painted;
//   BM_Memory_EditorOpen/N    resident memory with the editor open on N records: 32,765 in both
//                             grids, or 1,000,000 of which 50 are in today's list (0: the
//                             program's own).
//   BM_Memory_EditorClosed/N  resident memory once the editor, opened by 插入数据 on N records,
//                             has shown them all and been closed again;
//   BM_Memory_PlainWindow     resident memory of that plain window.
// The memory figures carry the bare window's resident memory and the file's size beside.

#include <benchmark/benchmark.h>

#include <time.h>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "benchsupport.h"

namespace {

// Runs the probe and returns the numbers it printed, or none when it failed.
QList<double> probe(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    environment.insert(QStringLiteral("MIROSTA_PROBE_SPAWNED"),
                       QString::number(double(now.tv_sec) * 1e9 + double(now.tv_nsec), 'f', 0));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MIROSTA_STARTUP_PROBE), arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) return {};
    QList<double> numbers;
    for (const QByteArray& word : process.readAllStandardOutput().simplified().split(' '))
        numbers << word.toDouble();
    return numbers;
}

// How many records due today a folder of `count` records has.
int dueToday(int count) {
    return count > 32765 ? 50 : count;
}

void runStartup(benchmark::State& state, int which) {
    const int count = int(state.range(0));
    const QString folder = bench::dataFolder(count, dueToday(count));
    for (auto _ : state) {
        const QList<double> times = probe({QStringLiteral("main"), folder});
        if (times.size() < 2 || times.at(which) < 0) return state.SkipWithError("the probe failed");
        state.SetIterationTime(times.at(which) / 1000);
    }
}

// A window the probe builds without a data folder ("bare" or "plain"), to its first paint.
void runWindowStartup(benchmark::State& state, const QString& window) {
    for (auto _ : state) {
        const QList<double> times = probe({window});
        if (times.isEmpty()) return state.SkipWithError("the probe failed");
        state.SetIterationTime(times.first() / 1000);
    }
}

void BM_Startup_Baseline(benchmark::State& state) {
    runWindowStartup(state, QStringLiteral("bare"));
}
BENCHMARK(BM_Startup_Baseline)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_Startup_PlainWindow(benchmark::State& state) {
    runWindowStartup(state, QStringLiteral("plain"));
}
BENCHMARK(BM_Startup_PlainWindow)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_Startup_MainWindow(benchmark::State& state) {
    runStartup(state, 0);
}
BENCHMARK(BM_Startup_MainWindow)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(32765)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

void BM_Startup_TodayList(benchmark::State& state) {
    runStartup(state, 1);
}
BENCHMARK(BM_Startup_TodayList)
    ->Arg(1000)
    ->Arg(32765)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// Resident memory (counters in MB) with `count` records in the editor's grid and those due today in
// the main window's, beside a bare window's and the file's size.
void BM_Memory_EditorOpen(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString folder = bench::dataFolder(count, dueToday(count));
    for (auto _ : state) {
        const QList<double> mine = probe({QStringLiteral("memory"), folder});
        const QList<double> bare = probe({QStringLiteral("memory-bare")});
        if (mine.size() < 3 || bare.isEmpty() || mine.at(1) != dueToday(count) ||
            mine.at(2) != count)
            return state.SkipWithError("the probe failed");
        state.counters["resident_MB"] = mine.at(0);
        state.counters["bare_window_MB"] = bare.at(0);
    }
    state.counters["file_MB"] =
        double(QFile(QDir(folder).filePath(QStringLiteral("a.bz"))).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Memory_EditorOpen)
    ->Arg(0)
    ->Arg(32765)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Memory_EditorClosed(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString folder = bench::dataFolder(count, dueToday(count));
    for (auto _ : state) {
        const QList<double> mine = probe({QStringLiteral("memory-closed"), folder});
        const QList<double> bare = probe({QStringLiteral("memory-bare")});
        if (mine.size() < 2 || bare.isEmpty() || mine.at(1) != count)
            return state.SkipWithError("the probe failed");
        state.counters["resident_MB"] = mine.at(0);
        state.counters["bare_window_MB"] = bare.at(0);
    }
    state.counters["file_MB"] =
        double(QFile(QDir(folder).filePath(QStringLiteral("a.bz"))).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Memory_EditorClosed)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Memory_PlainWindow(benchmark::State& state) {
    for (auto _ : state) {
        const QList<double> mine = probe({QStringLiteral("memory-plain")});
        const QList<double> bare = probe({QStringLiteral("memory-bare")});
        if (mine.isEmpty() || bare.isEmpty()) return state.SkipWithError("the probe failed");
        state.counters["resident_MB"] = mine.at(0);
        state.counters["bare_window_MB"] = bare.at(0);
    }
    state.counters["file_MB"] = 0;
}
BENCHMARK(BM_Memory_PlainWindow)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
