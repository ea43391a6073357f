#!/usr/bin/env bash
# The package under Wine. Builds, into build/package-test (never into dist/, which may hold an
# administrator's real package): the demo package, an older version of it, one rebuilt at the
# same version with another set-up file and one whose version differs in the fourth number only.
# Then, in a throwaway 64-bit prefix there, installs, upgrades and uninstalls them with
# msiexec /qn, checking after each step the program folder, Programs and Features and the Active
# Setup registration. Last, installed again, the command its Active Setup key holds is run as
# Windows runs it at a user's logon, watched by the end-to-end driver, before a final removal.
# Every failed check names what is wrong; the run goes on to the end of the step and exits
# non-zero.
#   tests/package/run.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$root/build/package-test"
rm -rf "$work"
mkdir -p "$work"

failures=0
pass() { echo "ok: $1"; }
fail() { echo "FAILED: $1" >&2; failures=$((failures + 1)); }
# expect WHAT EXPECTED ACTUAL
expect() {
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: expected [$2], found [$3]"; fi
}
# A step that cannot go on (a package that does not build or install) ends the run.
stop() { echo "FAILED: $1; the remaining checks cannot run" >&2; exit 1; }
end_of_step() { [ "$failures" = 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }; }

# --- Building the packages --------------------------------------------------------------------

# The version the package must carry: the one kelpo.rc defines, read here from the source while
# package.sh reads it from the built program.
version_number() {
  sed -n "s/^#define KELPO_VERSION_$1 \([0-9]*\)\r\{0,1\}\$/\1/p" "$root/src/main/kelpo.rc"
}
version="$(version_number MAJOR).$(version_number MINOR).$(version_number BUILD).$(version_number REVISION)"
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] ||
  stop "src/main/kelpo.rc defines no version KELPO_VERSION_MAJOR...REVISION (found $version)"
active_setup_version="${version//./,}"
older_version="0.9.0.0"

# companions DIR KELPO_INI_LINE: a companion folder of the demo's files whose set-up file
# carries one more line, so the test can tell which package's files are installed.
companions() {
  mkdir -p "$1"
  cp "$root/demo/TrustedSites.reg" "$1/"
  cp "$root/build/win64/tests/e2e/install_flash_player_10_active_x.exe" "$1/"
  { cat "$root/demo/Kelpo.ini"; echo "$2"; } >"$1/Kelpo.ini"
}

echo "== building the demo package"
output="$(KELPO_PACKAGE_DIST="$work/dist" "$root/scripts/package.sh" 2>&1)" || { echo "$output"; stop "package.sh without a companion folder failed"; }
msi="$work/dist/kelpo-$version.msi"
zip="$work/dist/kelpo-$version.zip"
[ -f "$msi" ] || stop "package.sh built no $msi (the version in kelpo.rc is $version): $(ls "$work/dist")"
[ -f "$zip" ] || fail "package.sh built no $zip"
case "$output" in
  *stand-in*) pass "the demo package says its plug-in installer is a stand-in" ;;
  *) fail "the demo package does not say its plug-in installer is a stand-in; it said: $output" ;;
esac
echo "== building the end-to-end driver, whose watch judges the run at a user's logon"
driver="$root/build/win64/tests/e2e/kelpo_e2e.exe"
cmake --build "$root/build/win64" -j2 --target kelpo_e2e >"$work/driver-build.log" 2>&1 ||
  { tail -n 30 "$work/driver-build.log"; stop "the end-to-end driver did not build"; }
mkdir -p "$work/zip"
python3 -m zipfile -e "$zip" "$work/zip"
expect "the zip holds the program folder Kelpo with kelpo.exe and the three companion files" \
  "Kelpo Kelpo/Kelpo.ini Kelpo/TrustedSites.reg Kelpo/install_flash_player_10_active_x.exe Kelpo/kelpo.exe" \
  "$(cd "$work/zip" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"
cmp -s "$work/zip/Kelpo/kelpo.exe" "$root/build/win64/kelpo.exe" && pass "the zip's kelpo.exe is the one built" ||
  fail "the zip's kelpo.exe differs from build/win64/kelpo.exe"

echo "== a companion folder without one of the three files stops the build, naming it"
for absent in TrustedSites.reg Kelpo.ini install_flash_player_10_active_x.exe; do
  incomplete="$work/incomplete-$absent"
  companions "$incomplete" ""
  rm "$incomplete/$absent"
  if output="$(KELPO_PACKAGE_DIST="$work/dist-incomplete" "$root/scripts/package.sh" "$incomplete" 2>&1)"; then
    fail "package.sh built a package from a companion folder without $absent"
  elif [[ "$output" != *"$absent"* ]]; then
    fail "package.sh stopped for the missing $absent without naming it: $output"
  else
    pass "package.sh stops for a companion folder without $absent and names it"
  fi
done
[ ! -e "$work/dist-incomplete" ] || fail "package.sh left output in dist-incomplete although it stopped: $(ls "$work/dist-incomplete")"

if output="$(KELPO_PACKAGE_VERSION=256.0.0.0 KELPO_PACKAGE_DIST="$work/dist-too-high" "$root/scripts/package.sh" 2>&1)"; then
  fail "package.sh built a package at 256.0.0.0, beyond what Windows Installer compares"
else
  pass "package.sh refuses a version Windows Installer cannot carry"
fi

# The same version with the fourth number raised: Windows Installer does not compare that
# number, Active Setup does.
IFS=. read -r major minor build_number revision <<<"$version"
revised_version="$major.$minor.$build_number.$((revision + 1))"

echo "== building the older package ($older_version), one rebuilt at $version with another set-up file, one at $revised_version"
companions "$work/older-companions" "; older package"
companions "$work/rebuilt-companions" "; rebuilt package"
companions "$work/revised-companions" "; revised package"
KELPO_PACKAGE_VERSION="$older_version" KELPO_PACKAGE_DIST="$work/dist-older" \
  "$root/scripts/package.sh" "$work/older-companions" >/dev/null || stop "package.sh could not build the older package"
KELPO_PACKAGE_DIST="$work/dist-rebuilt" "$root/scripts/package.sh" "$work/rebuilt-companions" >/dev/null ||
  stop "package.sh could not build the rebuilt package"
KELPO_PACKAGE_VERSION="$revised_version" KELPO_PACKAGE_DIST="$work/dist-revised" \
  "$root/scripts/package.sh" "$work/revised-companions" >/dev/null || stop "package.sh could not build the revised package"
older_msi="$work/dist-older/kelpo-$older_version.msi"
rebuilt_msi="$work/dist-rebuilt/kelpo-$version.msi"
revised_msi="$work/dist-revised/kelpo-$revised_version.msi"
end_of_step

# --- The prefix and what to look at in it -----------------------------------------------------

export KELPO_WINEPREFIX="$work/wineprefix"
source "$root/scripts/wine-env.sh"
trap 'wineserver -k 2>/dev/null || true' EXIT

program_folder="$WINEPREFIX/drive_c/Program Files/Kelpo"
active_setup='HKLM\Software\Microsoft\Active Setup\Installed Components\{A0648493-2A95-46C2-A16F-6790B1249719}'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
stub_path='"C:\Program Files\Kelpo\kelpo.exe" /quiet'

# values KEY VIEW: the key's values as NAME<tab>TYPE<tab>DATA lines; fails when the key is absent.
values() {
  local listing
  listing="$(wine reg query "$1" "/reg:$2" 2>/dev/null)" || return 1
  tr -d '\r' <<<"$listing" | LC_ALL=C sed -n 's/^    \(.*\)    \(REG_[A-Z_]*\)\(    \(.*\)\)\{0,1\}$/\1\t\2\t\4/p'
}
# value LISTING NAME: "TYPE DATA" of one value of a values listing.
value() { awk -F '\t' -v name="$2" '$1 == name { print $2 " " $3 }' <<<"$1"; }
# default_value KEY: "TYPE DATA" of the key's unnamed value (whose shown name is the locale's).
default_value() { wine reg query "$1" /ve /reg:64 2>/dev/null | tr -d '\r' | LC_ALL=C sed -n 's/^    .*    \(REG_[A-Z_]*\)    \(.*\)$/\1 \2/p'; }

# installed_products: the Uninstall entries named Kelpo, one product code a line.
installed_products() {
  wine reg query "$uninstall" /s /reg:64 2>/dev/null | tr -d '\r' |
    awk '/^HKEY_/ { key = $0 } /^    DisplayName    REG_SZ    Kelpo$/ { n = split(key, part, "\\"); print part[n] }'
}

msi_install() { # msi_install WHAT MSI
  local status=0
  wine msiexec /i "$(winepath -w "$2")" /qn || status=$?
  [ "$status" = 0 ] || stop "msiexec /i $2 /qn ($1) ended with status $status"
}

check_installed() { # check_installed VERSION KELPO_INI_SOURCE
  local expected_version="$1" ini_source="$2"
  local products product
  products="$(installed_products || true)"
  expect "one Kelpo in Programs and Features" 1 "$(grep -c . <<<"$products" || true)"
  product="$(head -n 1 <<<"$products")"
  local entry
  entry="$(values "$uninstall\\$product" 64)" || { fail "no Uninstall entry for $product"; return; }
  expect "Programs and Features: version" "REG_SZ $expected_version" "$(value "$entry" DisplayVersion)"
  expect "Programs and Features: publisher" "REG_SZ Zandrel" "$(value "$entry" Publisher)"
  expect "Programs and Features: no repair" "REG_DWORD 0x1" "$(value "$entry" NoRepair)"
  expect "Programs and Features: no change" "REG_DWORD 0x1" "$(value "$entry" NoModify)"
  expect "Programs and Features: location" 'REG_SZ C:\Program Files\Kelpo\' "$(value "$entry" InstallLocation)"
  expect "Programs and Features: removal through Windows Installer" \
    "REG_EXPAND_SZ MsiExec.exe /X$product" "$(value "$entry" UninstallString)"
  # Programs and Features takes a Windows Installer product's icon from its product
  # registration, which points into the Installer folder of that product.
  local icon
  icon="$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s /reg:64 2>/dev/null | tr -d '\r' |
          sed -n 's/^    ProductIcon    REG_SZ    //p' | grep -F "$product" || true)"
  if [ -n "$icon" ] && [ -f "$(winepath -u "$icon" 2>/dev/null)" ]; then
    pass "Programs and Features shows the program's icon ($icon)"
  else
    fail "the product $product has no icon file: [$icon]"
  fi

  expect "the program folder holds kelpo.exe and the three companion files" \
    "Kelpo.ini TrustedSites.reg install_flash_player_10_active_x.exe kelpo.exe" \
    "$(ls "$program_folder" 2>/dev/null | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')"
  local file
  for file in kelpo.exe TrustedSites.reg install_flash_player_10_active_x.exe; do
    cmp -s "$program_folder/$file" "$work/zip/Kelpo/$file" && pass "installed $file is the package's" ||
      fail "installed $file differs from the package's"
  done
  cmp -s "$program_folder/Kelpo.ini" "$ini_source" && pass "installed Kelpo.ini is this package's" ||
    fail "installed Kelpo.ini is not this package's ($ini_source): $(tail -n 1 "$program_folder/Kelpo.ini" 2>&1)"

  local registration
  registration="$(values "$active_setup" 64)" || { fail "no Active Setup key $active_setup in the 64-bit view"; return; }
  expect "Active Setup: the component's name" "REG_SZ Kelpo" "$(default_value "$active_setup")"
  expect "Active Setup: StubPath" "REG_SZ $stub_path" "$(value "$registration" StubPath)"
  expect "Active Setup: Version" "REG_SZ ${expected_version//./,}" "$(value "$registration" Version)"
  expect "Active Setup: IsInstalled" "REG_DWORD 0x1" "$(value "$registration" IsInstalled)"
  if values "$active_setup" 32 >/dev/null; then
    fail "the Active Setup key is in the 32-bit view (Wow6432Node) as well; the package is a 64-bit one"
  else
    pass "the Active Setup key is in the 64-bit view only"
  fi
}

# snapshot NAME: the prefix's registry keys and files by name, taken before the first install and
# after each removal to compare.
snapshot() {
  wineserver -w
  cat "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" | LC_ALL=C sed -n 's/^\(\[.*\]\) [0-9]*$/\1/p' | LC_ALL=C sort >"$work/$1.keys"
  (cd "$WINEPREFIX/drive_c" && find . | grep -v '^\./users/[^/]*/Temp/' | LC_ALL=C sort) >"$work/$1.files"
}

# check_nothing_left PRODUCT_CODES...: no trace of Kelpo or of any of these products.
check_nothing_left() {
  [ ! -e "$program_folder" ] && pass "Program Files\\Kelpo is gone" ||
    fail "Program Files\\Kelpo is still there: $(ls -A "$program_folder" | tr '\n' ' ')"
  values "$active_setup" 64 >/dev/null && fail "the Active Setup key is still there" || pass "the Active Setup key is gone"
  values "$active_setup" 32 >/dev/null && fail "an Active Setup key is left in the 32-bit view" || true
  expect "no Kelpo in Programs and Features" "" "$(installed_products)"
  snapshot after
  local extra
  extra="$(LC_ALL=C comm -13 "$work/before.keys" "$work/after.keys" | grep -v -x -F -f "$work/installer-own.keys" |
            grep -v -x -F -f "$work/user-data.keys" || true)"
  expect "no registry key more than before the first install" "" "$extra"
  extra="$(LC_ALL=C comm -13 "$work/before.files" "$work/after.files" | grep -v -x -F './windows/Installer' |
            grep -v -x -F -f "$work/user-data.files" || true)"
  expect "no file or folder more than before the first install" "" "$extra"
  local code traces
  for code in Kelpo A0648493-2A95-46C2-A16F-6790B1249719 "$@"; do
    traces="$(grep -i -F -- "$code" "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" || true)"
    expect "the registry mentions $code nowhere" "" "$traces"
  done
}

kelpo_wine_prepare
snapshot before
# Nothing the user's own run wrote, until that run.
: >"$work/user-data.keys"
: >"$work/user-data.files"
# Windows Installer's own keys, made by its first install and kept, empty, as on Windows; what a
# product leaves in them are keys of their own below, which the comparison still finds.
cat >"$work/installer-own.keys" <<'KEYS'
[Software\\Classes\\Installer\\Features]
[Software\\Classes\\Installer\\Products]
[Software\\Classes\\Installer\\UpgradeCodes]
[Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes]
[Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components]
[Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products]
KEYS

# --- Install, remove, upgrade, refuse a downgrade, replace at the same and a revised version,
# --- remove

echo "== installing $(basename "$msi") on a bare workstation"
msi_install "the demo package" "$msi"
first_product="$(installed_products | head -n 1)"
check_installed "$version" "$work/zip/Kelpo/Kelpo.ini"
end_of_step

echo "== removing it"
status=0
wine msiexec /x "$(winepath -w "$msi")" /qn || status=$?
expect "msiexec /x ends with status 0" 0 "$status"
check_nothing_left "$first_product"
end_of_step

echo "== installing the older $older_version, then $version over it"
msi_install "the older package" "$older_msi"
older_product="$(installed_products | head -n 1)"
check_installed "$older_version" "$work/older-companions/Kelpo.ini"
msi_install "the newer package over the older" "$msi"
check_installed "$version" "$work/zip/Kelpo/Kelpo.ini"
end_of_step

echo "== the older package is refused while $version is installed"
status=0
wine msiexec /i "$(winepath -w "$older_msi")" /qn || status=$?
[ "$status" != 0 ] && pass "msiexec refuses the older package (status $status)" ||
  fail "msiexec installed the older package over the newer one"
check_installed "$version" "$work/zip/Kelpo/Kelpo.ini"
end_of_step

echo "== a package rebuilt at $version with another set-up file replaces the installed one"
msi_install "the rebuilt package" "$rebuilt_msi"
rebuilt_product="$(installed_products | head -n 1)"
check_installed "$version" "$work/rebuilt-companions/Kelpo.ini"
end_of_step

echo "== a package at $revised_version replaces it; Active Setup's Version makes each user run again"
msi_install "the revised package" "$revised_msi"
revised_product="$(installed_products | head -n 1)"
check_installed "$revised_version" "$work/revised-companions/Kelpo.ini"
end_of_step

echo "== removing it through its product code, as Programs and Features does"
status=0
wine msiexec /x "$revised_product" /qn || status=$?
expect "msiexec /x $revised_product ends with status 0" 0 "$status"
check_nothing_left "$first_product" "$older_product" "$rebuilt_product" "$revised_product"
end_of_step

# --- Once per user: the Active Setup command, as Windows runs it at a user's next logon --------
# The current Flash Player seeded by the end-to-end driver spares the plug-in installer, a
# stand-in that installs nothing: with it the run would end with 1 for the report's warning
# (the end-to-end suite covers that status and the others).

echo "== installing it again and running, as a user logging on, the command its Active Setup key holds"
msi_install "the demo package, for a user's logon" "$msi"
check_installed "$version" "$work/zip/Kelpo/Kelpo.ini"
command="$(value "$(values "$active_setup" 64)" StubPath)"
command="${command#REG_SZ }"
expect "the command Active Setup runs" "$stub_path" "$command"
snapshot user-before
# The driver's watch: no window that could be shown made at any moment, exit status 0, the log
# and the backup. Windows can be made only with a display.
kelpo_private_display 90
trap kelpo_end_private_display EXIT
status=0
output="$(KELPO_E2E_ACTIVE_SETUP_COMMAND="$command" wine "$driver" --gtest_brief=1 \
            --gtest_filter='InstalledPackage.*' 2>&1)" || status=$?
if [ "$status" = 0 ] && [[ "$output" == *"[  PASSED  ] 1 test."* ]] && [[ "$output" != *SKIPPED* ]]; then
  pass "the Active Setup command ends with 0, makes no window, logs its apply and names its backup"
else
  fail "the Active Setup command, watched by the end-to-end driver (status $status): $output"
fi
site='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\ZoneMap\Domains\example.com\www'
expect "it applied the installed set-up file's site, www.example.com, to the Trusted sites" \
  "REG_DWORD 0x2" "$(value "$(values "$site" 64)" http)"
# What the run wrote for the user (the settings, the log, the backup) is the user's, which an
# uninstall leaves as it is; the comparison after the removal looks past it.
snapshot user-after
LC_ALL=C comm -13 "$work/user-before.keys" "$work/user-after.keys" >"$work/user-data.keys"
LC_ALL=C comm -13 "$work/user-before.files" "$work/user-after.files" >"$work/user-data.files"
grep -q -i 'Kelpo/kelpo.log$' "$work/user-data.files" && pass "the log is in the user's local application data" ||
  fail "no kelpo.log among the files the run wrote: $(tr '\n' ' ' <"$work/user-data.files")"
end_of_step

echo "== removing it"
status=0
wine msiexec /x "$(winepath -w "$msi")" /qn || status=$?
expect "msiexec /x ends with status 0" 0 "$status"
# The same package as the first install: the same product code.
check_nothing_left "$first_product" "$older_product" "$rebuilt_product" "$revised_product"
end_of_step

echo "package tests: all checks passed"
