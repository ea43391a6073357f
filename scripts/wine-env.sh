# Sourced: the throwaway Wine prefix under the build folder, with a Simplified Chinese ANSI
# code page (936), no crash dialog, and no window-manager stalls under a bare X server.
KELPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${KELPO_WINEPREFIX:-$KELPO_ROOT/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$KELPO_ROOT/build/locale"
export LANG=zh_CN.UTF-8

kelpo_wine_prepare() {
  if [ ! -d "$LOCPATH/zh_CN.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" 2>/dev/null || true
  fi
  if [ ! -f "$WINEPREFIX/.kelpo-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.kelpo-ready"
  fi
}

# Starts a private X server on the first free display from $1 (default 90), exports DISPLAY and
# sets KELPO_XVFB_PID. The caller ends it (kelpo_end_private_display) on its way out.
kelpo_private_display() {
  local display="${1:-90}"
  while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  KELPO_XVFB_PID=$!
  export DISPLAY=":$display"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
}

# Ends this prefix's wine server and the private X server, if one was started.
kelpo_end_private_display() {
  wineserver -k 2>/dev/null || true
  [ -n "${KELPO_XVFB_PID:-}" ] && kill "$KELPO_XVFB_PID" 2>/dev/null || true
}
