#pragma once
// What every fuzzer does when an invariant breaks: say which one, then abort, so libFuzzer keeps
// the input as a crash.

#include <cstdio>
#include <cstdlib>

inline void fuzzCheck(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}
