#!/usr/bin/env bash
# Every test: installs what is missing; checks that every include in src/ runs down the layers;
# builds the native and the Windows configurations with warnings as errors; runs the native
# tests with ctest (plain, then under ASan and UBSan), a short run of every fuzz
# target, the Windows tests with ctest under Wine, the end-to-end suite of kelpo.exe under Wine
# (and its layout cases again at 144 DPI), the package's install, upgrade and removal with
# msiexec under Wine; compiles the 32-bit build. Each stage runs to its end
# whatever the others did; the run ends with a table of the stages, and exits non-zero when any
# stage failed. Each stage's output is also kept in build/logs/<stage>.log.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
jobs=2

if ! scripts/setup.sh; then
  echo "test: the set-up stopped (see above); nothing was built or run" >&2
  exit 1
fi

logs="$root/build/logs"
mkdir -p "$logs"
names=()
results=()

# stage NAME FUNCTION: runs the function in a shell of its own that stops at its first failing
# command, with its output on the terminal and in the stage's log.
stage() {
  local name="$1" function="$2" log="$logs/$1.log" started=$SECONDS
  echo "== $name"
  ( set -euo pipefail; "$function" ) 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  names+=("$name")
  if [ "$status" = 0 ]; then
    results+=("passed ($((SECONDS - started)) s)")
  else
    results+=("FAILED (exit $status; the whole output is in build/logs/$name.log)")
    echo "== $name FAILED with exit status $status; see build/logs/$name.log" >&2
  fi
}

# Warnings are errors in every build the test command makes (fuzz/run.sh and the end-to-end
# suite's build read it too).
export KELPO_WERROR=ON

layers() { python3 scripts/check-layers.py; }

native() {
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DKELPO_WERROR=ON >/dev/null
  cmake --build build/native -j"$jobs"
  ctest --test-dir build/native --output-on-failure
}

sanitizers() {
  cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DKELPO_SANITIZE=ON -DKELPO_WERROR=ON >/dev/null
  cmake --build build/sanitize -j"$jobs"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure
}

fuzzing() { bash fuzz/run.sh; }

windows_unit_and_contract() {
  cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DKELPO_WERROR=ON -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh" >/dev/null
  cmake --build build/win64 -j"$jobs"
  source scripts/wine-env.sh
  kelpo_wine_prepare
  # The window host's own tests make real windows: a private X server, ended on the way out
  # with the prefix's wine server.
  kelpo_private_display 90
  trap kelpo_end_private_display EXIT
  ctest --test-dir build/win64 --output-on-failure
}

end_to_end() { KELPO_E2E_BUILD="$root/build/win64" tests/e2e/run.sh --dpi 96; }

layout_144_dpi() { KELPO_E2E_BUILD="$root/build/win64" tests/e2e/run.sh --dpi 144; }

package_under_wine() { tests/package/run.sh; }

i686_build() {
  cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DKELPO_WERROR=ON >/dev/null
  cmake --build build/win32 -j"$jobs"
}

stage layers layers
stage native native
stage sanitizers sanitizers
stage fuzzing fuzzing
stage windows-unit-and-contract windows_unit_and_contract
stage end-to-end end_to_end
stage 144-dpi layout_144_dpi
stage package package_under_wine
stage i686-build i686_build

echo
echo "stage                      result"
failed=0
for i in "${!names[@]}"; do
  printf '%-26s %s\n' "${names[$i]}" "${results[$i]}"
  case "${results[$i]}" in passed*) ;; *) failed=1 ;; esac
done
exit "$failed"
