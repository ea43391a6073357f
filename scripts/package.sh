#!/usr/bin/env bash
# Builds the per-machine package dist/kelpo-<version>.msi (package/kelpo.wxs, with wixl) and
# dist/kelpo-<version>.zip of the same program folder: kelpo.exe and the administrator's
# companion files TrustedSites.reg, Kelpo.ini and install_flash_player_10_active_x.exe taken from
# COMPANION_DIR. Without COMPANION_DIR it builds a demo package from demo/, whose plug-in
# installer is a stand-in.
#   scripts/package.sh [COMPANION_DIR]
# The version is kelpo.exe's own, read from the version resource of the built program.
# For the package tests only: KELPO_PACKAGE_VERSION puts another version on the package,
# KELPO_PACKAGE_DIST another output folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
companion_files=(TrustedSites.reg Kelpo.ini install_flash_player_10_active_x.exe)

fail() { echo "package: $*" >&2; exit 1; }

companion_dir=""
if [ $# -gt 1 ]; then fail "usage: scripts/package.sh [COMPANION_DIR]"; fi
if [ $# -eq 1 ]; then
  [ -d "$1" ] || fail "the companion folder $1 does not exist"
  companion_dir="$(cd "$1" && pwd)"
  missing=0
  for file in "${companion_files[@]}"; do
    if [ ! -f "$companion_dir/$file" ]; then
      echo "package: the companion folder $companion_dir has no $file" >&2
      missing=1
    fi
  done
  [ "$missing" = 0 ] || fail "it needs ${companion_files[*]}; nothing was built"
fi

"$root/scripts/setup.sh"
source "$root/scripts/quietly.sh"

build="$root/build/win64"
targets=(kelpo)
[ -n "$companion_dir" ] || targets+=(stand_in_installer)
kelpo_quietly "configuring the Windows build in $build" \
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release
kelpo_quietly "building ${targets[*]}" cmake --build "$build" -j2 --target "${targets[@]}"

# The PRODUCTVERSION of kelpo.exe's version resource, as a.b.c.d.
version="$(x86_64-w64-mingw32-windres -i "$build/kelpo.exe" -O rc |
  sed -n 's/^ *PRODUCTVERSION \([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\) *$/\1.\2.\3.\4/p')"
[ -n "$version" ] || fail "kelpo.exe holds no PRODUCTVERSION in its version resource"
version="${KELPO_PACKAGE_VERSION:-$version}"

# Windows Installer's limits: 255.255.65535; the fourth number it does not compare.
IFS=. read -r major minor build_number revision extra <<<"$version"
for number in "$major" "$minor" "$build_number" "$revision"; do
  [[ "$number" =~ ^[0-9]+$ ]] || fail "the version $version is not four numbers"
done
[ -z "$extra" ] || fail "the version $version is not four numbers"
if ((10#$major > 255 || 10#$minor > 255 || 10#$build_number > 65534)); then
  fail "Windows Installer cannot carry the version $version (at most 255.255.65534 in the first three numbers)"
fi
next_version="$major.$minor.$((10#$build_number + 1)).0"
active_setup_version="$major,$minor,$build_number,$revision"

dist="${KELPO_PACKAGE_DIST:-$root/dist}"
mkdir -p "$dist"
dist="$(cd "$dist" && pwd)"
msi="$dist/kelpo-$version.msi"
zip="$dist/kelpo-$version.zip"

# The program folder as it lands on the workstation, and the icon Programs and Features shows.
stage="$root/build/package"
rm -rf "$stage"
mkdir -p "$stage/Kelpo"
cp "$build/kelpo.exe" "$stage/Kelpo/"
if [ -n "$companion_dir" ]; then
  for file in "${companion_files[@]}"; do cp "$companion_dir/$file" "$stage/Kelpo/"; done
else
  cp "$root/demo/TrustedSites.reg" "$root/demo/Kelpo.ini" "$build/tests/e2e/install_flash_player_10_active_x.exe" "$stage/Kelpo/"
fi
cp "$root/src/main/kelpo.ico" "$stage/"

# wixl leaves out what it does not support with only a warning: any warning stops the build.
rm -f "$msi" "$zip"
wixl_log="$stage/wixl.log"
if ! (cd "$stage" && wixl -a x64 -D Version="$version" -D NextVersion="$next_version" \
        -D ActiveSetupVersion="$active_setup_version" -o "$msi" "$root/package/kelpo.wxs") >"$wixl_log" 2>&1 ||
   grep -q -E "WARNING|CRITICAL|warning" "$wixl_log"; then
  sed 's/^/  | /' "$wixl_log" >&2
  rm -f "$msi"
  fail "wixl could not build $msi as package/kelpo.wxs says (its output above)"
fi
(cd "$stage" && zip -q -X -r "$zip" Kelpo)

echo "package: $msi"
echo "package: $zip"
echo "package: version $version; Active Setup runs \"C:\\Program Files\\Kelpo\\kelpo.exe\" /quiet once per user (version $active_setup_version)"
if [ -z "$companion_dir" ]; then
  echo "package: DEMO PACKAGE, not for workstations: its install_flash_player_10_active_x.exe is a"
  echo "package: stand-in that only records its run, and its TrustedSites.reg and Kelpo.ini are the"
  echo "package: examples from demo/. Build with your own files: scripts/package.sh COMPANION_DIR"
else
  echo "package: companion files from $companion_dir"
fi
