#!/usr/bin/env bash
# Proves the README's commands on a fresh Debian 12: makes a minimal root with debootstrap from
# the package source this machine's apt uses, copies the committed tree into it, and runs the
# README's test command inside it with chroot (about twenty minutes on two cores).
#   scripts/fresh-check.sh        the test command
#   scripts/fresh-check.sh run    the run command instead: waits for the check window, saves a
#                                 screenshot of it (build/fresh-check/check-window.png), closes it
# Environment: KELPO_FRESH_ROOT (where the root is made, default build/fresh-root). Run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
top="$PWD"
mode="${1:-test}"
case "$mode" in test|run) ;; *) echo "usage: scripts/fresh-check.sh [run]" >&2; exit 3 ;; esac
[ "$(id -u)" = 0 ] || { echo "fresh-check: needs root (debootstrap and chroot)" >&2; exit 1; }
source scripts/quietly.sh

root="${KELPO_FRESH_ROOT:-$top/build/fresh-root}"
results="$top/build/fresh-check"
mkdir -p "$results"
export KELPO_LOG_DIR="$results"

# The README's two commands, exactly as it gives them.
readme_command() { awk -v head="$1" 'index($0, head) == 1 { found = 1 } found && /^    bash / { sub(/^    /, ""); print; exit }' README.md; }
test_command=$(readme_command 'Run every test')
run_command=$(readme_command 'Run the program')
[ -n "$test_command" ] && [ -n "$run_command" ] || { echo "fresh-check: the README's two commands were not found" >&2; exit 1; }

# The package source this machine's apt is configured with, read from apt itself.
mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 2>/dev/null |
         awk '$2 == "bookworm" { print $1; exit }')
[ -n "$mirror" ] || { echo "fresh-check: apt has no source for bookworm configured" >&2; exit 1; }

command -v debootstrap >/dev/null || kelpo_quietly "installing debootstrap" apt-get install -y -qq debootstrap

unmount_root() {
  local mount
  for mount in $(findmnt -rn -o TARGET | grep -F "$root/" | sort -r); do umount -l "$mount" || true; done
}
trap unmount_root EXIT
unmount_root
if findmnt -rn -o TARGET | grep -qF "$root/"; then
  echo "fresh-check: something is still mounted below $root; not removing it" >&2
  exit 1
fi
rm -rf "$root"
mkdir -p "$root"

echo "fresh-check: debootstrap --variant=minbase bookworm into $root"
kelpo_quietly "debootstrap of a minimal Debian 12 root" debootstrap --variant=minbase bookworm "$root" "$mirror"

echo "fresh-check: copying the committed tree (HEAD $(git rev-parse --short HEAD)) into /kelpo"
mkdir -p "$root/kelpo"
git archive HEAD | tar -x -C "$root/kelpo"

cp /etc/resolv.conf "$root/etc/resolv.conf"
mount --bind /proc "$root/proc"
mount --bind /sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
if mountpoint -q /dev/shm; then mount --bind /dev/shm "$root/dev/shm"; fi

in_root() { chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb PATH=/usr/sbin:/usr/bin:/sbin:/bin bash -c "$1"; }

if [ "$mode" = test ]; then
  echo "fresh-check: running '$test_command' in the fresh root (output in $results/test.log)"
  started=$SECONDS
  status=0
  in_root "cd /kelpo && $test_command" >"$results/test.log" 2>&1 || status=$?
  sed -n '/^stage  /,$p' "$results/test.log"
  echo "fresh-check: '$test_command' ended with exit status $status after $(((SECONDS - started) / 60)) min"
  exit "$status"
fi

echo "fresh-check: running '$run_command' in the fresh root (output in $results/run.log)"
in_root "cd /kelpo && $run_command" >"$results/run.log" 2>&1 &
runner=$!
display=""
window=""
for _ in $(seq 1800); do
  kill -0 "$runner" 2>/dev/null || break
  [ -n "$display" ] || display=$(grep -o 'private X server :[0-9]*' "$results/run.log" | grep -o ':[0-9]*$' || true)
  if [ -n "$display" ]; then
    window=$(in_root "DISPLAY=$display xdotool search --name '^当前系统检测\$'" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
  fi
  sleep 1
done
if [ -z "$window" ]; then
  echo "fresh-check: the check window did not appear; the end of the run command's output:" >&2
  tail -n 30 "$results/run.log" >&2
  kill "$runner" 2>/dev/null || true
  exit 1
fi
sleep 2  # let it paint
in_root "DISPLAY=$display import -window root /tmp/check-window.png"
cp "$root/tmp/check-window.png" "$results/check-window.png"
echo "fresh-check: the check window appeared on $display; screenshot: $results/check-window.png"
# Alt+F4 closes it as its title bar's close button would, which ends the program.
in_root "DISPLAY=$display xdotool windowfocus --sync $window key alt+F4" || true
for _ in $(seq 60); do kill -0 "$runner" 2>/dev/null || break; sleep 1; done
if kill -0 "$runner" 2>/dev/null; then
  echo "fresh-check: the program did not end after its window was closed" >&2
  kill "$runner" 2>/dev/null || true
  exit 1
fi
status=0
wait "$runner" || status=$?
echo "fresh-check: '$run_command' ended with exit status $status after the window was closed"
exit "$status"
