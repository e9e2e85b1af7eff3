// 保存修改 and 删除记录 of the editor on a long a.bz: BM_EditorChange_Edit/N corrects the remark of
// the last record of N, BM_EditorChange_Delete/N deletes it, each beside
// BM_EditorChange_Baseline/N, writing the changed file once through the same atomic save. Each
// should cost at most twice its baseline. The day's backup copy is made before the timing starts,
// as it is once a day.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QUndoStack>

#include "benchsupport.h"
#include "benchwrite.h"
#include "editor/editorwindow.h"
#include "editor/recordediting.h"
#include "platform/apppaths.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/textfile.h"
#include "records/backups.h"
#include "records/recordgridview.h"

namespace {

constexpr int kDueToday = 50;

struct OpenEditor {
    explicit OpenEditor(benchmark::State& state, int count) {
        bench::ensureApplication();
        if (!writeFileAtomically(paths.dataFilePath(), bench::longRecordFile(count, kDueToday),
                                 nullptr))
            state.SkipWithError("cannot write a.bz");
        Backups(paths.dataFilePath()).make(clock.now(), nullptr);
        editor = std::make_unique<EditorWindow>(paths, clock, messages);
        while (editor->recordsLoading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (editor->grid().rows() != count + 2) state.SkipWithError("records not loaded");
    }
    QTemporaryDir dir;
    AppPaths paths{dir.path()};
    FixedClock clock{QDateTime(bench::kToday, QTime(8, 0))};
    RecordingMessageService messages;
    std::unique_ptr<EditorWindow> editor;
};

void BM_EditorChange_Edit(benchmark::State& state) {
    const int count = int(state.range(0));
    OpenEditor open(state, count);
    EditorWindow& editor = *open.editor;
    // The records' due times are not their casting date plus 28 days: 否 keeps them as they are.
    open.messages.setAnswer(false);
    auto* remark = editor.findChild<QLineEdit*>(QStringLiteral("Text10"));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor.editing().editRow(count);
        remark->setText(QStringLiteral("改%1").arg(++round));
        state.ResumeTiming();
        editor.editing().saveEdit();
    }
    if (editor.editing().isEditing()) state.SkipWithError("the change was not saved");
    const QByteArray file = readWholeFile(open.paths.dataFilePath()).bytes;
    if (!file.contains(gbk::encode(QStringLiteral(",改%1,\r\n,,,,,,,,,,").arg(round))))
        state.SkipWithError("a.bz does not hold the change");
}
BENCHMARK(BM_EditorChange_Edit)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditorChange_Delete(benchmark::State& state) {
    const int count = int(state.range(0));
    OpenEditor open(state, count);
    EditorWindow& editor = *open.editor;
    const QByteArray original = readWholeFile(open.paths.dataFilePath()).bytes;
    for (auto _ : state) {
        state.PauseTiming();
        editor.gridView()->clearSelection();
        editor.gridView()->selectRow(count - 1);  // the last record
        state.ResumeTiming();
        editor.editing().deleteSelected();
        state.PauseTiming();
        if (editor.grid().rows() != count + 1) state.SkipWithError("not deleted");
        editor.undoStack().undo();
        state.ResumeTiming();
    }
    if (readWholeFile(open.paths.dataFilePath()).bytes != original)
        state.SkipWithError("undoing the deletion did not give a.bz back");
}
BENCHMARK(BM_EditorChange_Delete)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditorChange_Baseline(benchmark::State& state) {
    bench::writeOnce(state, bench::longRecordFile(int(state.range(0)), kDueToday));
}
BENCHMARK(BM_EditorChange_Baseline)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
