// Start-up to the main window shown, with 1,000 and 32,765 records due today, beside a bare Qt
// program that shows one empty window; and the resident memory with 32,765 records in both grids.
// Each figure is a fresh process (mirosta_startup_probe), so library loading and Qt's own start
// are counted as a user sees them.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "benchsupport.h"

namespace {

// A data folder whose a.bz holds `count` records due today; each size is written once per run.
QString dataFolder(int count) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto& dir = folders[count];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QFile f(dir->filePath(QStringLiteral("a.bz")));
        if (!f.open(QIODevice::WriteOnly) || f.write(bench::recordFile(count)) < 0) std::abort();
    }
    return dir->path();
}

// Runs the probe and returns what it printed, or an empty text when it failed.
QString probe(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(MIROSTA_STARTUP_PROBE), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed() + u' ';
}

void BM_Startup_Baseline(benchmark::State& state) {
    for (auto _ : state)
        if (probe({QStringLiteral("bare")}).isEmpty()) state.SkipWithError("the probe failed");
}
BENCHMARK(BM_Startup_Baseline)->Arg(1000)->Arg(32765)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Startup_MainWindow(benchmark::State& state) {
    const QString folder = dataFolder(static_cast<int>(state.range(0)));
    for (auto _ : state)
        if (probe({QStringLiteral("main"), folder}).isEmpty())
            state.SkipWithError("the probe failed");
}
BENCHMARK(BM_Startup_MainWindow)
    ->Arg(1000)
    ->Arg(32765)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Resident memory (counters in MB) with 32,765 records in the main window's grid and the editor's,
// beside a bare window's.
void BM_Memory_BothGrids(benchmark::State& state) {
    const QString folder = dataFolder(32765);
    for (auto _ : state) {
        const QStringList mine = probe({QStringLiteral("memory"), folder}).split(u' ');
        const QStringList bare = probe({QStringLiteral("memory-bare")}).split(u' ');
        if (mine.size() < 3 || bare.isEmpty() || mine.at(1) != QLatin1String("32765") ||
            mine.at(2) != QLatin1String("32765"))
            return state.SkipWithError("the probe failed");
        state.counters["resident_MB"] = mine.at(0).toDouble();
        state.counters["bare_window_MB"] = bare.at(0).toDouble();
    }
    state.counters["file_MB"] =
        double(QFile(dataFolder(32765) + QStringLiteral("/a.bz")).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Memory_BothGrids)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
