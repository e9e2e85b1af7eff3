// One add in the record editor with a full grid (32,765 records), save to a.bz included, beside a
// baseline that only encodes the same lines to GBK and writes them once. Compare
// BM_Editor_AddRecord with BM_Editor_Baseline: the add should cost no more than twice the baseline.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdlib>

#include "benchsupport.h"
#include "editor/editorwindow.h"
#include "platform/apppaths.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "records/recordgrid.h"

namespace {

constexpr int kRecords = 32765;  // the most records the grid has ever been asked to hold

// The record lines of a.bz after the add: kRecords records, the new one, the trailing commas.
QStringList linesAfterAdd() {
    QStringList lines = bench::recordLines(kRecords);
    lines.insert(
        kRecords,
        QStringLiteral("新增记录,C30,PB-9,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,36,2,,"));
    return lines;
}

void BM_Editor_AddRecord(benchmark::State& state) {
    bench::ensureApplication();
    QTemporaryDir dir;
    const AppPaths paths(dir.path());
    {
        QStringList lines = linesAfterAdd();
        lines.removeAt(kRecords);  // the file before the add
        QFile file(paths.dataFilePath());
        if (!file.open(QIODevice::WriteOnly)) return state.SkipWithError("cannot write a.bz");
        file.write(gbk::encode(lines.join(QStringLiteral("\r\n"))));
    }
    FixedClock clock(QDateTime(QDate(2024, 3, 7), QTime(9, 5)));
    RecordingMessageService messages;
    EditorWindow editor(paths, clock, messages);
    if (editor.grid().rows() != kRecords + 2) return state.SkipWithError("records not loaded");
    editor.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("新增记录"));
    editor.findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(QStringLiteral("PB-9"));
    editor.findChild<QLineEdit*>(QStringLiteral("Text6"))->setText(QStringLiteral("28"));
    editor.computeDueTime();

    RecordGrid& grid = editor.grid();
    for (auto _ : state) {
        editor.addRecord();
        state.PauseTiming();
        // Back to kRecords records for the next round.
        const int added = grid.rows() - 2;
        grid.setRows(grid.rows() - 1);
        for (int c = 0; c < grid.cols(); ++c) grid.setTextMatrix(added, c, QString());
        state.ResumeTiming();
    }
    if (!messages.messages().isEmpty()) state.SkipWithError("the add reported a problem");
    state.counters["bytes"] = double(QFile(paths.dataFilePath()).size());
}
BENCHMARK(BM_Editor_AddRecord)->Unit(benchmark::kMillisecond);

void BM_Editor_Baseline(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    const QStringList lines = linesAfterAdd();
    for (auto _ : state) {
        const QByteArray bytes = gbk::encode(lines.join(QStringLiteral("\r\n")));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return state.SkipWithError("cannot write a.bz");
    }
    state.counters["bytes"] = double(QFile(path).size());
}
BENCHMARK(BM_Editor_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace
