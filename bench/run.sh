#!/usr/bin/env bash
# Builds and runs the benchmarks, then prints each growth ratio against its target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
source scripts/quietly.sh
kelpo_quietly "building the growth benchmarks" cmake --build build/bench -j2 --target kelpo_growth_bench
build/bench/bench/kelpo_growth_bench --benchmark_format=json --benchmark_out=build/bench/growth.json \
  --benchmark_out_format=json >/dev/null
python3 - build/bench/growth.json <<'PY'
import json, sys, collections
runs = json.load(open(sys.argv[1]))["benchmarks"]
per_item = collections.defaultdict(dict)
for run in runs:
    name, size = run["name"].split("/")[:2]
    per_item[name][int(size)] = run["real_time"] / int(size)
worst = 0.0
print("growth: time per item at the largest size / at the smallest (target <= 2.0)")
for name, sizes in per_item.items():
    ratio = sizes[max(sizes)] / sizes[min(sizes)]
    worst = max(worst, ratio)
    print(f"  {name:24s} {min(sizes):>7} -> {max(sizes):>7} items: {ratio:.2f}  {'ok' if ratio <= 2.0 else 'OVER TARGET'}")
PY

# The Windows build on the real registry and window system, under Wine.
bench/wine/run.sh
