#!/usr/bin/env bash
# Builds mirosta_bench and prints every figure beside its baseline (BM_<group>_Baseline) as a ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIROSTA_BUILD_BENCH=ON >/dev/null
cmake --build build --target mirosta_bench
out=$(mktemp)
trap 'rm -f "$out"' EXIT
./build/bench/mirosta_bench --benchmark_min_time=0.5 --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true --benchmark_out="$out" --benchmark_out_format=json \
    >/dev/null
python3 - "$out" <<'PY'
import json, re, sys
runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("aggregate_name", "median") == "median"]

def key(name):
    """(group, figure, arguments) of BM_<group>_<figure>[/args][/iterations:n][/real_time]."""
    m = re.match(r"BM_([A-Za-z]+)_([A-Za-z]+)((?:/\d+)*)", name)
    return m and (m.group(1), m.group(2), m.group(3))

def ms(b):
    # Threads, I/O and whole processes are timed by the wall clock, the rest by its CPU time.
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    wall = "/real_time" in b["run_name"] or "/manual_time" in b["run_name"]
    return b["real_time" if wall else "cpu_time"] * scale

baselines = {}
for b in runs:
    k = key(b["run_name"])
    if k and k[1] == "Baseline":
        baselines[(k[0], k[2])] = b
print(f"{'figure':34} {'median':>11} {'baseline':>11} {'ratio':>7}  notes")
for b in runs:
    k = key(b["run_name"])
    if not k or k[1] == "Baseline":
        continue
    name = f"{k[0]}_{k[1]}{k[2]}"
    base = baselines.get((k[0], k[2])) or baselines.get((k[0], ""))
    notes = " ".join(f"{c}={b[c]:.1f}" for c in sorted(b) if c.endswith(("_MB", "_ms")))
    if "resident_MB" in b:
        bare, mine = b["bare_window_MB"], b["resident_MB"]
        notes += f"  resident/bare {mine / bare:.2f}x"
        if b["file_MB"] > 0.1:
            notes += f", (resident-bare)/file {(mine - bare) / b['file_MB']:.2f}x"
        print(f"{name:34} {'':>11} {'':>11} {'':>7}  {notes}")
    elif base:
        print(f"{name:34} {ms(b):9.2f}ms {ms(base):9.2f}ms {ms(b) / ms(base):6.2f}x  {notes}")
    else:
        print(f"{name:34} {ms(b):9.2f}ms {'':>11} {'':>7}  {notes}")
PY
