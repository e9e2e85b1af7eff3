// Loading a.bz into the record grids, beside the least any loader must do with the same file
// (read it, decode GBK, split at commas). Compare BM_Load_MainGrid/N and BM_Load_EditorGrid/N with
// BM_Load_Baseline/N: the grids should cost no more than twice the baseline.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "benchsupport.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/recordgrid.h"
#include "records/recordgridmodel.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"

namespace {

// The path of a generated file of `count` records; each size is written once per run.
const QString& dataFile(int count) {
    static QTemporaryDir dir;
    static std::map<int, QString> paths;
    auto it = paths.find(count);
    if (it != paths.end()) return it->second;
    const QString path = dir.filePath(QStringLiteral("a-%1.bz").arg(count));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bench::recordFile(count)) < 0) std::abort();
    return paths.emplace(count, path).first->second;
}

// A grid as a window holds it: headings in row 0, the trailing empty row, a model attached.
struct ShownGrid {
    explicit ShownGrid(int cols) : grid(2, cols) {
        const QStringList& headings = recordHeadings();
        for (int c = 0; c < headings.size() && c < cols; ++c)
            grid.setTextMatrix(0, c, headings.at(c));
        model = std::make_unique<RecordGridModel>(grid);
    }
    RecordGrid grid;
    std::unique_ptr<RecordGridModel> model;
};

void BM_Load_Baseline(benchmark::State& state) {
    const QString& path = dataFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<QStringList> rows;
        const FileLines file = readLines(path);
        rows.reserve(static_cast<size_t>(file.lines.size()));
        for (const QByteArray& raw : file.lines) rows.push_back(splitRecordLine(gbk::decode(raw)));
        benchmark::DoNotOptimize(rows.data());
        state.PauseTiming();
        if (rows.size() != static_cast<size_t>(state.range(0)) + 1) state.SkipWithError("short");
        rows = {};
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Load_MainGrid(benchmark::State& state) {
    bench::ensureApplication();
    const QString& path = dataFile(static_cast<int>(state.range(0)));
    const FixedClock clock(QDateTime(bench::kToday, QTime(12, 0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<ShownGrid>(recordcolumns::kMainGridColumns);
        state.ResumeTiming();
        const LoadReport report = loadDueToday(shown->grid, path, clock);
        state.PauseTiming();
        if (report.taken != state.range(0)) state.SkipWithError("not every record was taken");
        shown.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Load_EditorGrid(benchmark::State& state) {
    bench::ensureApplication();
    const QString& path = dataFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<ShownGrid>(recordcolumns::kEditorGridColumns);
        QList<CarriedLine> carried;
        state.ResumeTiming();
        const LoadReport report = loadAllRecords(shown->grid, path, &carried);
        state.PauseTiming();
        if (report.taken != state.range(0) || !carried.isEmpty())
            state.SkipWithError("not every record was taken");
        shown.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_Load_Baseline)->Arg(32765)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load_MainGrid)->Arg(32765)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load_EditorGrid)->Arg(32765)->Arg(100000)->Unit(benchmark::kMillisecond);
