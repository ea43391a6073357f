#!/usr/bin/env bash
# Builds kelpo.exe and starts it under Wine in a demo program folder (build/demo) holding the
# example companion files, in the project's own Wine prefix. Without a display it starts a
# private X server and prints how to watch it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64 -j2 --target kelpo stand_in_installer >/dev/null
source scripts/wine-env.sh

if [ -z "${DISPLAY:-}" ]; then
  display=80
  while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
  export DISPLAY=":$display"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
  echo "No display: kelpo runs on the private X server $DISPLAY (look with: DISPLAY=$DISPLAY import -window root shot.png)."
fi

kelpo_wine_prepare
demo/assemble.sh build/win64 build/demo
echo "Starting kelpo.exe in build/demo; close its window to end."
cd build/demo
wine kelpo.exe
