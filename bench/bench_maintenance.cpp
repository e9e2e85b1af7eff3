// 删除过期数据 on a long a.bz: BM_DeleteExpired_Fired/N removes the 50 fired records of today's
// list from a file of N records (its question answered at once), with the data file's lock, the
// backup before the rewrite and the check that the file did not change underneath, beside
// BM_DeleteExpired_Baseline/N, writing the resulting file once through the same atomic save. The
// command should cost at most twice its baseline.
//
// What a backup of that file costs: BM_Backup_Link/N, the link a rewrite makes (the old file stays
// in the backup folder when the new one is renamed over it), and BM_Backup_Copy/N, the copy that
// 数据初始化 makes before its question, beside BM_Backup_Baseline/N, writing the file once.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "benchsupport.h"
#include "benchwrite.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/recordmaintenance.h"
#include "mainwindow/reminderswitch.h"
#include "platform/apppaths.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/textfile.h"
#include "records/backups.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"

namespace {

constexpr int kDueToday = 50;

// The file without its records due today.
QByteArray fileWithoutDue(int count) {
    const QByteArray today = bench::kToday.toString(Qt::ISODate).toLatin1();
    QList<QByteArray> kept;
    for (const QByteArray& line : bench::longRecordFile(count, kDueToday).split('\n'))
        if (!line.contains("28," + today)) kept << line;
    return kept.join('\n');
}

void BM_DeleteExpired_Fired(benchmark::State& state) {
    bench::ensureApplication();
    const int count = int(state.range(0));
    QTemporaryDir dir;
    const AppPaths paths(dir.path());
    const QByteArray original = bench::longRecordFile(count, kDueToday);
    FixedClock clock(QDateTime(bench::kToday, QTime(23, 59)));
    RecordingMessageService messages;
    MainWindow window(paths, clock, messages);
    ReminderSwitch reminderSwitch(window);
    RecordMaintenance maintenance(window, reminderSwitch);
    for (auto _ : state) {
        state.PauseTiming();
        if (!writeFileAtomically(paths.dataFilePath(), original, nullptr))
            return state.SkipWithError("cannot write a.bz");
        window.reloadRecords();
        RecordGrid& grid = window.grid();
        if (grid.rows() != kDueToday + 2) return state.SkipWithError("today's list not loaded");
        for (int r = 1; r <= kDueToday; ++r)
            grid.setTextMatrix(r, recordcolumns::kDueMark, dueMarkText());
        state.ResumeTiming();
        maintenance.deleteExpired();
        state.PauseTiming();
        if (grid.rows() != 2) state.SkipWithError("fired rows left in the list");
        state.ResumeTiming();
    }
    if (readWholeFile(paths.dataFilePath()).bytes != fileWithoutDue(count))
        state.SkipWithError("a.bz does not hold exactly the other records");
}
BENCHMARK(BM_DeleteExpired_Fired)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeleteExpired_Baseline(benchmark::State& state) {
    bench::writeOnce(state, fileWithoutDue(int(state.range(0))));
}
BENCHMARK(BM_DeleteExpired_Baseline)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void backUp(benchmark::State& state, Backups::Method method) {
    QTemporaryDir dir;
    const AppPaths paths(dir.path());
    if (!writeFileAtomically(paths.dataFilePath(), bench::longRecordFile(int(state.range(0)), 0),
                             nullptr))
        return state.SkipWithError("cannot write a.bz");
    const Backups backups(paths.dataFilePath());
    const QDateTime now(bench::kToday, QTime(12, 0));
    for (auto _ : state) {
        const std::optional<QString> copy = backups.make(now, nullptr, method);
        state.PauseTiming();
        if (!copy || !QFile::remove(*copy)) state.SkipWithError("no backup made");
        state.ResumeTiming();
    }
}

void BM_Backup_Link(benchmark::State& state) {
    backUp(state, Backups::Method::LinkBeforeReplace);
}
BENCHMARK(BM_Backup_Link)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Backup_Copy(benchmark::State& state) {
    backUp(state, Backups::Method::Copy);
}
BENCHMARK(BM_Backup_Copy)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Backup_Baseline(benchmark::State& state) {
    bench::writeOnce(state, bench::longRecordFile(int(state.range(0)), 0));
}
BENCHMARK(BM_Backup_Baseline)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
