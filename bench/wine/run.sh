#!/usr/bin/env bash
# The Wine benchmarks: builds the Windows benchmark with MinGW and runs it under Wine in a
# throwaway prefix inside the build folder, on a private X server (the list box needs one).
#   bench/wine/run.sh [apply] [load] [wait] [list] [phases]   (default: the four measures)
# Environment: KELPO_BENCH_WIN_BUILD (build folder, default build/bench-win64).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KELPO_BENCH_WIN_BUILD:-$root/build/bench-win64}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target kelpo_wine_bench bench_sleeper >/dev/null

export KELPO_WINEPREFIX="$build/wineprefix"
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"

display=90
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done

kelpo_wine_prepare
wineserver -w
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(wine --version)"
# Every call into the registry is a round trip to the wine server. On one core the program and
# the server hand over directly; spread over idle cores, each hand-over waits for a core to wake,
# which in a virtual machine makes the same run up to ten times slower, more or less at random.
# The program, the server and regedit all run on the one core, so each pair compares like with like.
taskset -c 0 wine "$build/bench/wine/kelpo_wine_bench.exe" "$@"
