#!/usr/bin/env bash
# Assembles the demo program folder from a MinGW build folder, and gives the Wine prefix in
# WINEPREFIX (source scripts/wine-env.sh first) an Internet Explorer version to report.
#   demo/assemble.sh BUILD_DIR DEMO_FOLDER
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
folder="$2"
mkdir -p "$folder"
cp "$build/kelpo.exe" "$build/tests/e2e/install_flash_player_10_active_x.exe" "$folder/"
cp "$here/TrustedSites.reg" "$here/Kelpo.ini" "$here/README.txt" "$folder/"
source "$here/../scripts/quietly.sh"
source "$here/../tests/e2e/wine-fonts.sh"
kelpo_wine_song_font
kelpo_wine reg add 'HKLM\SOFTWARE\Microsoft\Internet Explorer' /v Version /d 8.0.6001.18702 /f /reg:32
