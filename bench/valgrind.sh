#!/usr/bin/env bash
# The native unit tests once under valgrind's memcheck (a Debug build; about ten minutes).
# glibc's AVX2 wmemcmp reads whole 32-byte words past the end of short strings, which memcheck
# reports as invalid reads though no result depends on them: the run uses glibc's SSE versions.
# Environment: KELPO_VALGRIND_BUILD (build folder, default build/valgrind-native).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KELPO_VALGRIND_BUILD:-$root/build/valgrind-native}"

"$root/scripts/setup.sh"
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
source "$root/scripts/quietly.sh"
kelpo_quietly "building the native unit tests" cmake --build "$build" -j2 --target kelpo_unit_tests
GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-AVX512F,-EVEX,-AVX512VL,-AVX512BW \
  valgrind --error-exitcode=1 --leak-check=full \
  "$build/kelpo_unit_tests" --gtest_brief=1 "$@"
