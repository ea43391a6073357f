#!/usr/bin/env bash
# The end-to-end suite: builds kelpo.exe, the driver and the stand-in installer with MinGW, then
# runs the driver under Wine in a throwaway prefix inside the build folder, on a private X server.
# Screenshots of every window land in <build>/e2e-shots; --update-docs also copies them to docs/.
# Without driver arguments, the layout cases run a second time at 144 DPI; --dpi 96 runs the
# suite at 96 DPI only, --dpi 144 the layout cases at 144 DPI only.
#   tests/e2e/run.sh [--update-docs] [--dpi 96|144] [driver arguments, e.g. --gtest_filter=StartUp*]
# Environment: KELPO_E2E_BUILD (build folder, default build/e2e-win64).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KELPO_E2E_BUILD:-$root/build/e2e-win64}"
update_docs=0
dpis="96 144"
if [ "${1:-}" = "--update-docs" ]; then update_docs=1; shift; fi
if [ "${1:-}" = "--dpi" ]; then dpis="$2"; shift 2; fi
[ $# -eq 0 ] || dpis=96

source "$root/scripts/quietly.sh"
kelpo_quietly "configuring the Windows build in $build" \
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  ${KELPO_WERROR:+-DKELPO_WERROR=$KELPO_WERROR}
kelpo_quietly "building kelpo.exe, the end-to-end driver and the stand-in installer" \
  cmake --build "$build" -j2 --target kelpo kelpo_e2e stand_in_installer

# kelpo.exe stands alone on any Windows: it imports Windows' own DLLs and nothing else.
system_dlls=' advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll wininet.dll '
imports=$(x86_64-w64-mingw32-objdump -p "$build/kelpo.exe" | awk '/DLL Name:/ {print tolower($3)}')
for dll in $imports; do
  case "$system_dlls" in
    *" $dll "*) ;;
    *) echo "kelpo.exe imports $dll, which is not part of Windows" >&2; exit 1 ;;
  esac
done

export KELPO_WINEPREFIX="$build/wineprefix"
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
source "$root/tests/e2e/wine-fonts.sh"

# A private X server on the first free display, ended on the way out with the prefix's wineserver.
kelpo_private_display 90
trap kelpo_end_private_display EXIT

kelpo_wine_prepare
kelpo_wine_song_font

fixtures="$build/e2e-fixtures"
work="$build/e2e-work"
shots="$build/e2e-shots"
rm -rf "$fixtures" "$work" "$shots"
mkdir -p "$fixtures" "$work" "$shots"
cp "$root/tests/e2e/fixtures/TrustedSites.reg" "$root/tests/e2e/fixtures/Kelpo.ini" "$fixtures/"
cp "$build/tests/e2e/install_flash_player_10_active_x.exe" "$fixtures/"

KELPO_E2E_EXE="$(winepath -w "$build/kelpo.exe")"
KELPO_E2E_FIXTURES="$(winepath -w "$fixtures")"
KELPO_E2E_WORK="$(winepath -w "$work")"
KELPO_E2E_SHOTS="$(winepath -w "$shots")"
export KELPO_E2E_EXE KELPO_E2E_FIXTURES KELPO_E2E_WORK KELPO_E2E_SHOTS

# The system DPI the windows are laid out by; Wine reads it when a program starts.
set_system_dpi() {
  wineserver -w
  kelpo_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
  wineserver -w
}

layout_cases='KelpoRun.CheckWindowOpens*:TrustedSiteWindow.ReplacesTheCheckWindow:TrustedSiteWindow.TabKey*:AutomaticMode.OpensTheCompletionWindowAlone'
status=0
for dpi in $dpis; do
  set_system_dpi "$dpi"
  case "$dpi" in
    96) KELPO_E2E_DPI=96 wine "$build/tests/e2e/kelpo_e2e.exe" --gtest_brief=1 "$@" || status=$? ;;
    *) echo "== the windows' layout again at $dpi DPI"
       KELPO_E2E_DPI="$dpi" KELPO_E2E_SHOTS="" wine "$build/tests/e2e/kelpo_e2e.exe" --gtest_brief=1 \
         --gtest_filter="$layout_cases" || status=$? ;;
  esac
done
set_system_dpi 96

for bitmap in "$shots"/*.bmp; do
  [ -e "$bitmap" ] || continue
  convert "$bitmap" "${bitmap%.bmp}.png" && rm "$bitmap"
done
if [ "$update_docs" = 1 ]; then
  mkdir -p "$root/docs/screenshots"
  cp "$shots"/*.png "$root/docs/screenshots/"
fi
exit "$status"
