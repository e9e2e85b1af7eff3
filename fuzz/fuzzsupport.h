#pragma once
// Shared by the fuzzers: stopping on a broken invariant, and the one folder their files go to.

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

// Allocations without the stack that made them: collecting it costs a fifth of each run of the
// parsers, which allocate for every line. A report still shows where a bad access happened; to
// see where the memory came from, run the failing input again with
// ASAN_OPTIONS=malloc_context_size=30 (the environment wins over this default).
extern "C" const char* __asan_default_options() {
    return "malloc_context_size=0";
}

// Says which invariant broke, then aborts, so that libFuzzer keeps the input as a crash.
inline void fuzzCheck(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}

// A temporary folder made on first use and removed at exit, in memory where the system offers
// it: every saved file is synced to its disk, which would otherwise cost most of each run.
inline const QTemporaryDir& fuzzTempDir() {
    static const QTemporaryDir dir = [] {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
        return QTemporaryDir(base + QStringLiteral("/mirosta-fuzz-XXXXXX"));
    }();
    fuzzCheck(dir.isValid(), "a temporary folder");
    return dir;
}
