// Loading a.bz into the record grids, each beside the least that any loader must do with the same
// file:
//   BM_MainLoad_DueToday/N     the main window's list (50 records due today among N) beside
//   BM_MainLoad_Baseline/N     reading the file and counting its lines with memchr;
//   BM_MainLoad_CatchUp/N      the records of the 7 days before today (a start-up after a week
//                              off, on a thread of its own), beside the same baseline;
//   BM_MainLoad_Window/N       the main window's start-up until its list is in and painted, with
//                              the longest its event loop went without running a 1 ms timer;
//   BM_EditorLoad_AllRecords/N every record into a grid shown by a model (read on the load's
//                              thread, then taken over) beside
//   BM_EditorLoad_Baseline/N   reading the file and decoding it from GBK.
// Both loads should cost at most twice their baseline.

#include <benchmark/benchmark.h>

#include <QFile>
#include <cstring>
#include <memory>

#include "benchsupport.h"
#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "platform/textfile.h"
#include "records/recordfileload.h"
#include "records/recordgrid.h"
#include "records/recordgridmodel.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"
#include "reminders/duebetween.h"

namespace {

constexpr int kDueToday = 50;

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

void BM_MainLoad_Baseline(benchmark::State& state) {
    const QString path = bench::dataFile(int(state.range(0)), kDueToday);
    QByteArray buffer(LineBlockReader::kDefaultBlockSize, Qt::Uninitialized);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return state.SkipWithError("cannot read a.bz");
        qint64 lines = 0;
        for (qint64 n; (n = file.read(buffer.data(), buffer.size())) > 0;) {
            const char* end = buffer.constData() + n;
            for (const char* p = buffer.constData();
                 (p = static_cast<const char*>(memchr(p, '\n', size_t(end - p)))); ++p)
                ++lines;
        }
        if (lines != state.range(0)) state.SkipWithError("lines miscounted");
    }
}

void BM_MainLoad_DueToday(benchmark::State& state) {
    bench::ensureApplication();
    const QString path = bench::dataFile(int(state.range(0)), kDueToday);
    const FixedClock clock(QDateTime(bench::kToday, QTime(12, 0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<ShownGrid>(recordcolumns::kMainGridColumns);
        state.ResumeTiming();
        const LoadReport report = loadDueToday(shown->grid, path, clock);
        state.PauseTiming();
        if (report.taken != kDueToday) state.SkipWithError("not every record due was taken");
        shown.reset();
        state.ResumeTiming();
    }
}

void BM_MainLoad_CatchUp(benchmark::State& state) {
    const QString path = bench::dataFile(int(state.range(0)), kDueToday);
    const QString first = bench::kToday.addDays(-7).toString(QStringLiteral("yyyy-MM-dd 00:00"));
    const QString last = bench::kToday.addDays(-1).toString(QStringLiteral("yyyy-MM-dd 23:59"));
    for (auto _ : state) {
        RecordGrid grid(2, recordcolumns::kMainGridColumns);
        const LoadReport report = loadDueBetween(grid, path, first, last);
        if (report.taken == 0) state.SkipWithError("no record of the week taken");
        state.counters["records"] = report.taken;
    }
}

void BM_MainLoad_Window(benchmark::State& state) {
    bench::ensureApplication();
    const AppPaths paths(bench::dataFolder(int(state.range(0)), kDueToday));
    const FixedClock clock(QDateTime(bench::kToday, QTime(12, 0)));
    RecordingMessageService messages;
    double longestStall = 0;
    for (auto _ : state) {
        const bench::StallWatch watch;
        MainWindow window(paths, clock, messages);
        window.startUp();
        while (window.todayListLoading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        watch.runFor(20'000'000);  // until the list has been painted
        state.SetIterationTime(watch.elapsedSeconds());
        longestStall = qMax(longestStall, watch.longestStallMs());
        if (window.grid().rows() != kDueToday + 2) state.SkipWithError("records missing");
    }
    state.counters["longest_stall_ms"] = longestStall;
}

void BM_EditorLoad_Baseline(benchmark::State& state) {
    const QString path = bench::dataFile(int(state.range(0)), kDueToday);
    for (auto _ : state) {
        const FileContent file = readWholeFile(path);
        const QString text = gbk::decode(file.bytes);
        benchmark::DoNotOptimize(text.constData());
    }
}

void BM_EditorLoad_AllRecords(benchmark::State& state) {
    bench::ensureApplication();
    const QString path = bench::dataFile(int(state.range(0)), kDueToday);
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<ShownGrid>(recordcolumns::kEditorGridColumns);
        state.ResumeTiming();
        RecordFileLoad load(path, shown->grid.cols());
        load.wait();
        shown->grid.takeRecordRows(std::move(load.grid()));
        state.PauseTiming();
        if (shown->grid.rows() != state.range(0) + 2)
            state.SkipWithError("not every record was taken");
        shown.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_MainLoad_Baseline)
    ->Arg(32765)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_MainLoad_DueToday)
    ->Arg(32765)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_MainLoad_CatchUp)
    ->Arg(32765)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_MainLoad_Window)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_EditorLoad_Baseline)
    ->Arg(32765)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_EditorLoad_AllRecords)
    ->Arg(32765)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
