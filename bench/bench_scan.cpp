// One tick of the due scan over a full grid (32,765 records, none due), beside a loop that does
// nothing but compare each row's due time with a fixed text: the scan should cost at most about
// twice that.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/screenmetrics.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"
#include "reminders/popupopener.h"
#include "reminders/reminderengine.h"

namespace {

constexpr int kRecords = 32765;

class NoPopups : public PopupOpener {
  public:
    void openPopup(const ReminderSlot&, const QStringList&, const QString&,
                   const QString&) override {}
    void openLateList(const ReminderSlot&, const QStringList&, const QStringList&) override {}
};

// The day the records fall due: tomorrow, so that none is due for the system's clock either.
QDate dueDay() {
    static const QDate day = QDate::currentDate().addDays(1);
    return day;
}

// Records due at every minute of the due day but its first, when the fixed clock stands.
RecordGrid& fullGrid() {
    static RecordGrid grid = [] {
        RecordGrid g(kRecords + 2, recordcolumns::kMainGridColumns);
        const QString day = dueDay().toString(QStringLiteral("yyyy-MM-dd"));
        for (int r = 1; r <= kRecords; ++r) {
            const int minute = r % 1439 + 1;
            g.setTextMatrix(r, 1, QStringLiteral("3号楼三层柱"));
            g.setTextMatrix(r, recordcolumns::kDueTime,
                            QStringLiteral("%1 %2:%3")
                                .arg(day)
                                .arg(minute / 60, 2, 10, QLatin1Char('0'))
                                .arg(minute % 60, 2, 10, QLatin1Char('0')));
        }
        numberRows(g);
        return g;
    }();
    return grid;
}

// Ticks of the scan over the full grid with the given clock.
void runTicks(benchmark::State& state, const Clock& clock) {
    RecordGrid& grid = fullGrid();
    QTemporaryDir dir;
    FixedScreenMetrics screen(1024, 768, 728);
    RecordingMessageService messages;
    NoPopups popups;
    ReminderEngine engine(grid, clock, screen, messages, popups,
                          dir.filePath(QStringLiteral("ts.ini")),
                          dir.filePath(QStringLiteral("announced.txt")));
    for (auto _ : state) engine.Timer1_Timer();
    if (!messages.messages().isEmpty()) state.SkipWithError("a record fired");
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Scan_Tick(benchmark::State& state) {
    runTicks(state, FixedClock(QDateTime(dueDay(), QTime(0, 0, 30))));
}
BENCHMARK(BM_Scan_Tick)->Unit(benchmark::kMicrosecond);

// The same tick with the system's clock, read for every row.
void BM_Scan_TickSystemClock(benchmark::State& state) {
    runTicks(state, SystemClock());
}
BENCHMARK(BM_Scan_TickSystemClock)->Unit(benchmark::kMicrosecond);

void BM_Scan_Baseline(benchmark::State& state) {
    RecordGrid& grid = fullGrid();
    const QString minute = QStringLiteral("2024-04-04 09:05");
    for (auto _ : state) {
        int due = 0;
        const int rows = grid.rows();
        for (int r = 1; r < rows; ++r) due += grid.textMatrix(r, recordcolumns::kDueTime) == minute;
        benchmark::DoNotOptimize(due);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Scan_Baseline)->Unit(benchmark::kMicrosecond);

}  // namespace
