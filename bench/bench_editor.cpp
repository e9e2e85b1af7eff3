// The record editor with long files:
//   BM_Add_Record/N          one 添加 with N records in the grid, the atomic save of a.bz included,
//                            beside
//   BM_Add_Baseline/N        writing the same bytes once, through the same atomic save;
//   BM_EditorLoad_Window/N   the editor opened on N records until its grid shows them all, beside
//                            BM_EditorLoad_Baseline/N (bench_loading.cpp); the counter
//                            longest_stall_ms is the longest the window's event loop went without
//                            running a 1 ms timer, construction of the window included.
// The add should cost at most twice its baseline, and no stall should reach 100 ms.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include "benchsupport.h"
#include "benchwrite.h"
#include "editor/editorwindow.h"
#include "platform/apppaths.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "platform/textfile.h"
#include "records/backups.h"
#include "records/recordgrid.h"

namespace {

constexpr int kDueToday = 50;
// The record the add writes, from the fields below and the clock's 2024-03-07 09:05.
const QString kNewRecord =
    QStringLiteral("新增记录,C30,PB-9,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,36,2,,");
const char* const kFields[][2] = {
    {"Text1", "新增记录"}, {"Text3", "PB-9"}, {"Text6", "28"}, {"Text8", "36"}, {"Text9", "2"}};

// a.bz after the add: the records, the new one, the trailing commas.
QByteArray fileAfterAdd(int count) {
    return bench::longRecordFile(count, kDueToday).chopped(10) + gbk::encode(kNewRecord) +
           "\r\n,,,,,,,,,,";
}

void BM_Add_Record(benchmark::State& state) {
    bench::ensureApplication();
    const int count = int(state.range(0));
    QTemporaryDir dir;
    const AppPaths paths(dir.path());
    if (!writeFileAtomically(paths.dataFilePath(), bench::longRecordFile(count, kDueToday),
                             nullptr))
        return state.SkipWithError("cannot write a.bz");
    FixedClock clock(QDateTime(QDate(2024, 3, 7), QTime(9, 5)));
    Backups(paths.dataFilePath()).make(clock.now(), nullptr);  // the day's one backup copy
    RecordingMessageService messages;
    EditorWindow editor(paths, clock, messages);
    while (editor.recordsLoading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (editor.grid().rows() != count + 2) return state.SkipWithError("records not loaded");
    for (const auto& [name, text] : kFields)
        editor.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromUtf8(text));
    editor.computeDueTime();

    for (auto _ : state) {
        editor.addRecord();
        state.PauseTiming();
        editor.undoStack().undo();  // back to `count` records for the next round
        state.ResumeTiming();
    }
    editor.addRecord();
    if (!messages.messages().isEmpty()) state.SkipWithError("the add reported a problem");
    if (readWholeFile(paths.dataFilePath()).bytes != fileAfterAdd(count))
        state.SkipWithError("a.bz does not hold the records and the new one");
    state.counters["file_MB"] = double(QFile(paths.dataFilePath()).size()) / (1 << 20);
}
BENCHMARK(BM_Add_Record)->Arg(32765)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Add_Baseline(benchmark::State& state) {
    bench::writeOnce(state, fileAfterAdd(int(state.range(0))));
}
BENCHMARK(BM_Add_Baseline)->Arg(32765)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditorLoad_Window(benchmark::State& state) {
    bench::ensureApplication();
    const AppPaths paths(bench::dataFolder(int(state.range(0)), kDueToday));
    FixedClock clock(QDateTime(bench::kToday, QTime(12, 0)));
    RecordingMessageService messages;
    double longestStall = 0;
    for (auto _ : state) {
        const bench::StallWatch watch;
        EditorWindow editor(paths, clock, messages);
        editor.show();
        while (editor.recordsLoading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        watch.runFor(20'000'000);  // until the grid has been painted with its records
        state.SetIterationTime(watch.elapsedSeconds());
        longestStall = qMax(longestStall, watch.longestStallMs());
        if (editor.grid().rows() != state.range(0) + 2) state.SkipWithError("records missing");
    }
    state.counters["longest_stall_ms"] = longestStall;
}
BENCHMARK(BM_EditorLoad_Window)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
