#!/usr/bin/env bash
# Builds kelpo.exe and starts it under Wine in a demo program folder (build/demo) holding the
# example companion files, in the project's own Wine prefix. Without a display it starts a
# private X server and prints how to watch it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/wine-env.sh
kelpo_quietly "configuring the Windows build in build/win64" \
  cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
kelpo_quietly "building kelpo.exe and the stand-in installer" \
  cmake --build build/win64 -j2 --target kelpo stand_in_installer

if [ -z "${DISPLAY:-}" ]; then
  kelpo_private_display 80
  trap 'kill "$KELPO_XVFB_PID" 2>/dev/null || true' EXIT
  echo "No display: kelpo runs on the private X server $DISPLAY (look with: DISPLAY=$DISPLAY import -window root shot.png)."
fi

kelpo_wine_prepare
demo/assemble.sh build/win64 build/demo
echo "Starting kelpo.exe in build/demo; close its window to end."
cd build/demo
wine kelpo.exe
