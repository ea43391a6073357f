#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short while (KELPO_FUZZ_SECONDS,
# 30 by default), starting from the seeds in fuzz/corpus. A crash fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${KELPO_FUZZ_SECONDS:-30}"
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELPO_FUZZ=ON ${KELPO_WERROR:+-DKELPO_WERROR=$KELPO_WERROR} \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
targets=$(cd fuzz && ls *_fuzz.cpp | sed 's/\.cpp$//')
source scripts/quietly.sh
kelpo_quietly "building the fuzz targets with clang" cmake --build build/fuzz -j2 --target $targets
status=0
for target in $targets; do
  corpus="build/fuzz/corpus/${target%_fuzz}"
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"${target%_fuzz}"/* "$corpus"/ 2>/dev/null || true
  if build/fuzz/fuzz/"$target" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix=build/fuzz/ \
       "$corpus" >build/fuzz/"$target".log 2>&1; then
    echo "fuzz $target: $(grep -Eo '^Done [0-9]+ runs' build/fuzz/"$target".log | tail -1), no crash"
  else
    echo "fuzz $target: FAILED (see build/fuzz/$target.log)"; tail -30 build/fuzz/"$target".log; status=1
  fi
done
exit "$status"
