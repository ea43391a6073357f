#!/usr/bin/env bash
# Builds kelpo.exe and starts it under Wine in a demo program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "The windows of the program are not realised yet; this builds kelpo.exe and starts it."
scripts/setup.sh
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64 -j2 --target kelpo
source scripts/wine-env.sh
kelpo_wine_prepare
wine build/win64/kelpo.exe
