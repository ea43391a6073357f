#!/usr/bin/env bash
# Every test: installs what is missing; builds the native and the Windows configurations; runs
# the native tests with ctest (plain, then under ASan and UBSan), a short run of every fuzz
# target, the Windows tests with ctest under Wine, and the end-to-end suite of kelpo.exe under
# Wine; compiles the 32-bit build. Non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=2
status=0

echo "== native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure || status=1

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DKELPO_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure || status=1

echo "== fuzzing: a short run of every target"
bash fuzz/run.sh || status=1

echo "== Windows (x86_64) build and tests under Wine"
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/scripts/wine-run.sh" >/dev/null
cmake --build build/win64 -j"$jobs"
source scripts/wine-env.sh
kelpo_wine_prepare
ctest --test-dir build/win64 --output-on-failure || status=1
wineserver -k 2>/dev/null || true

echo "== end to end: kelpo.exe under Wine on a private X server, driven through its windows"
KELPO_E2E_BUILD="$PWD/build/win64" tests/e2e/run.sh || status=1

echo "== Windows (i686) build: compiles and links, cannot run here"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j"$jobs" || status=1

exit "$status"
