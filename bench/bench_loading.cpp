// Loading a.bz into the record grids, beside the least any loader must do with the same file
// (read it, decode GBK, split at commas). Compare BM_Load_MainGrid/N and BM_Load_EditorGrid/N with
// BM_Load_Baseline/N: the grids should cost no more than twice the baseline.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/recordgrid.h"
#include "records/recordgridmodel.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"

namespace {

const QDate kToday(2024, 4, 4);

// The model reads the application palette, so a QApplication must exist; no window is shown.
void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "mirosta_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
}

// A data file of `count` records as the editor writes them, every one due today, ending with the
// editor's trailing line of ten commas.
QByteArray recordFile(int count) {
    static const char* const kParts[] = {"3号楼三层柱", "地下室底板", "5#楼二层梁板", "主楼剪力墙",
                                         "基础承台"};
    static const char* const kMethods[] = {"标准养护", "同条件养护"};
    static const char* const kRemarks[] = {"", "", "复检", "见证取样，抗渗"};
    QString text;
    text.reserve(count * 80);
    for (int i = 0; i < count; ++i) {
        const int minute = i % (24 * 60);
        const QStringList fields = {
            QStringLiteral("%1%2").arg(QString::fromUtf8(kParts[i % 5])).arg(i),
            QStringLiteral("C%1").arg(25 + 5 * (i % 8)),
            QStringLiteral("PB-%1").arg(i % 1000, 3, 10, QLatin1Char('0')),
            QStringLiteral("2024-3-7 %1:%2")
                .arg(minute / 60, 2, 10, QLatin1Char('0'))
                .arg(minute % 60, 2, 10, QLatin1Char('0')),
            QStringLiteral("28"),
            QStringLiteral("2024-04-04 %1:%2")
                .arg(minute / 60, 2, 10, QLatin1Char('0'))
                .arg(minute % 60, 2, 10, QLatin1Char('0')),
            QString::fromUtf8(kMethods[i % 2]),
            QString::number(10 + i % 90),
            QString::number(1 + i % 3),
            QString::fromUtf8(kRemarks[i % 4]),
            QString()};
        text += joinRecordLine(fields);
        text += QLatin1String("\r\n");
    }
    text += QLatin1String(",,,,,,,,,,");
    return gbk::encode(text);
}

// The path of a generated file of `count` records; each size is written once per run.
const QString& dataFile(int count) {
    static QTemporaryDir dir;
    static std::map<int, QString> paths;
    auto it = paths.find(count);
    if (it != paths.end()) return it->second;
    const QString path = dir.filePath(QStringLiteral("a-%1.bz").arg(count));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(recordFile(count)) < 0) std::abort();
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
    ensureApplication();
    const QString& path = dataFile(static_cast<int>(state.range(0)));
    const FixedClock clock(QDateTime(kToday, QTime(12, 0)));
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
    ensureApplication();
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
