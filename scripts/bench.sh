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
by_name = {b["run_name"]: b for b in runs}
def ms(b):
    # Whole processes are timed by the wall clock, everything else by the CPU time it took.
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    return b["real_time" if "/real_time" in b["run_name"] else "cpu_time"] * scale
print(f"{'figure':40} {'median':>12} {'baseline':>12} {'ratio':>7}")
for name, b in by_name.items():
    m = re.match(r"BM_([A-Za-z]+)_([A-Za-z]+)(/.*)?$", name)
    if not m or m.group(2) == "Baseline":
        continue
    extra = " ".join(f"{k}={v:.1f}" for k, v in sorted(b.items()) if k.endswith("_MB"))
    base = by_name.get(f"BM_{m.group(1)}_Baseline{m.group(3) or ''}")
    if base:
        print(f"{name:40} {ms(b):10.3f}ms {ms(base):10.3f}ms {ms(b) / ms(base):6.2f}x")
    else:
        print(f"{name:40} {ms(b):10.3f}ms {'':>12} {'':>7} {extra}")
PY
