# Sourced: runs a command with its output kept aside, and shows it only when the command fails.
#   kelpo_quietly "what it does" command [arguments...]
# On failure: names the step and the command, shows the last lines of its output and where the
# whole output is, and returns the command's status (so `set -e` stops the caller there).
kelpo_quietly() {
  local what="$1"; shift
  local log_dir="${KELPO_LOG_DIR:-${TMPDIR:-/tmp}}"
  mkdir -p "$log_dir"
  local log
  log=$(mktemp "$log_dir/kelpo-step.XXXXXX")
  if "$@" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  else
    local status=$?
    {
      echo "FAILED: $what (exit status $status)"
      echo "  command: $*"
      echo "  last lines of its output (all of it: $log):"
      tail -n 30 "$log" | sed 's/^/  | /'
    } >&2
    return "$status"
  fi
}

# wine with its chatter kept aside: shown, with the command, only when the call fails.
kelpo_wine() { kelpo_quietly "wine $1 in the prefix ${WINEPREFIX:-(default)}" wine "$@"; }
