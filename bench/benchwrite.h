#pragma once
// The baseline of the benchmarks of commands that rewrite a.bz.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "platform/textfile.h"

namespace bench {

// The baseline of the commands that rewrite a.bz: writing its new bytes once, through the same
// atomic save (a temporary file, flushed to disk and renamed over the old one).
inline void writeOnce(benchmark::State& state, const QByteArray& bytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bz"));
    for (auto _ : state)
        if (!writeFileAtomically(path, bytes, nullptr))
            return state.SkipWithError("cannot write a.bz");
    state.counters["file_MB"] = double(bytes.size()) / (1 << 20);
}

}  // namespace bench
