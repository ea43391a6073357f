#!/usr/bin/env bash
# Installs what the build, the tests, the demo and the package need on Debian 12, then checks
# that every command the scripts call is on the PATH. Idempotent; quiet when everything is
# already there. Stops with the command and its package when one is missing.
set -euo pipefail

# command            package that brings it
required=(
  "cmake               cmake"
  "make                make"
  "g++                 g++"
  "clang++             clang"
  "x86_64-w64-mingw32-g++-posix  g++-mingw-w64-x86-64-posix"
  "i686-w64-mingw32-g++-posix    g++-mingw-w64-i686-posix"
  "x86_64-w64-mingw32-windres    binutils-mingw-w64-x86-64"
  "x86_64-w64-mingw32-objdump    binutils-mingw-w64-x86-64"
  "wine                wine"
  "wineboot            wine"
  "wineserver          wine"
  "winepath            wine"
  "Xvfb                xvfb"
  "xdotool             xdotool"
  "import              imagemagick"
  "convert             imagemagick"
  "localedef           libc-bin"
  "python3             python3"
  "taskset             util-linux"
  "wixl                wixl"
  "zip                 zip"
)
# Libraries and data files that no command stands for.
packages=(googletest libgtest-dev libgmock-dev libbenchmark-dev mingw-w64 wine64 x11-utils
          locales fonts-wqy-zenhei fonts-arphic-uming libclang-rt-14-dev)
for entry in "${required[@]}"; do packages+=("${entry##* }"); done

missing=()
for package in $(printf '%s\n' "${packages[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""
  [ "$(id -u)" = 0 ] || SUDO="sudo"
  log=$(mktemp)
  if ! { $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    echo "setup: apt-get could not install ${missing[*]} (the lines above are the end of its output)" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
fi

absent=0
for entry in "${required[@]}"; do
  read -r command package <<<"$entry"
  if ! command -v "$command" >/dev/null 2>&1; then
    echo "setup: the command '$command' is missing; it comes with the Debian package '$package'" >&2
    absent=1
  fi
done
[ -d /usr/src/googletest ] || { echo "setup: /usr/src/googletest is missing; it comes with the Debian package 'googletest'" >&2; absent=1; }
exit "$absent"
