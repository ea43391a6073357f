#!/usr/bin/env bash
# The Wine benchmarks: builds the Windows benchmark with MinGW and runs it under Wine in a
# throwaway prefix inside the build folder, on a private X server (the list box needs one).
#   bench/wine/run.sh [apply] [load] [interactive] [wait] [list] [phases]   (default: all but phases)
# Environment: KELPO_BENCH_WIN_BUILD (build folder, default build/bench-win64).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KELPO_BENCH_WIN_BUILD:-$root/build/bench-win64}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
source "$root/scripts/quietly.sh"
kelpo_quietly "building the Wine benchmarks" cmake --build "$build" -j2 --target kelpo_wine_bench bench_sleeper kelpo

export KELPO_WINEPREFIX="$build/wineprefix"
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"

kelpo_private_display 90
trap kelpo_end_private_display EXIT

kelpo_wine_prepare
wineserver -w
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(wine --version)"
# Every call into the registry is a round trip to the wine server. On one core the program and
# the server hand over directly; spread over idle cores, each hand-over waits for a core to wake,
# which in a virtual machine makes the same run up to ten times slower, more or less at random.
# The program, the server and regedit all run on the one core, so each pair compares like with like.
taskset -c 0 wine "$build/bench/wine/kelpo_wine_bench.exe" "$@"
