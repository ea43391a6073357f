# Sourced: the throwaway Wine prefix under the build folder, with a Simplified Chinese ANSI
# code page (936), no crash dialog, and no window-manager stalls under a bare X server.
KELPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$KELPO_ROOT/scripts/quietly.sh"
export WINEPREFIX="${KELPO_WINEPREFIX:-$KELPO_ROOT/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$KELPO_ROOT/build/locale"
export LANG=zh_CN.UTF-8

kelpo_wine_prepare() {
  command -v wine >/dev/null || { echo "wine is not on the PATH (Debian package 'wine'; run scripts/setup.sh)" >&2; return 127; }
  if [ ! -d "$LOCPATH/zh_CN.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    # localedef warns about the locale's sources and exits 1 while still writing it: judge it
    # by what it wrote.
    localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >"$LOCPATH/localedef.log" 2>&1 || true
    if [ ! -f "$LOCPATH/zh_CN.UTF-8/LC_CTYPE" ]; then
      echo "FAILED: compiling the zh_CN.UTF-8 locale into $LOCPATH (Debian package 'locales'):" >&2
      tail -n 20 "$LOCPATH/localedef.log" >&2
      return 1
    fi
  fi
  if [ ! -f "$WINEPREFIX/.kelpo-ready" ]; then
    mkdir -p "$WINEPREFIX"
    kelpo_quietly "creating the Wine prefix $WINEPREFIX" wineboot -i
    kelpo_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    kelpo_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    wineserver -w
    touch "$WINEPREFIX/.kelpo-ready"
  fi
}

# Starts a private X server on the first free display from $1 (default 90), exports DISPLAY and
# sets KELPO_XVFB_PID. The caller ends it (kelpo_end_private_display) on its way out.
kelpo_private_display() {
  local display="${1:-90}"
  while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
  local log="${TMPDIR:-/tmp}/kelpo-xvfb-$display.log"
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
  KELPO_XVFB_PID=$!
  export DISPLAY=":$display"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display}" ] && return 0; sleep 0.1; done
  echo "FAILED: the X server Xvfb did not start on :$display within 10 s; its output:" >&2
  tail -n 20 "$log" >&2
  return 1
}

# Ends this prefix's wine server and the private X server, if one was started.
kelpo_end_private_display() {
  wineserver -k 2>/dev/null || true
  [ -n "${KELPO_XVFB_PID:-}" ] && kill "$KELPO_XVFB_PID" 2>/dev/null || true
}
