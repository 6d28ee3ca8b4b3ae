# shellcheck shell=bash
# What the set-up parts share: the cache's folders, messages, logged commands and apt's package
# lists. Sourced by scripts/setup.sh and by each part.
SETUP_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO=$(cd "$SETUP_DIR/../.." && pwd)

# The cache folder (exported: the project's toolchain file reads it to find $CACHE/i686) and the
# Wine prefix, found as every script finds them.
# shellcheck source=scripts/cache-env.sh
source "$REPO/scripts/cache-env.sh"
CACHE=$VELMORA_CACHE
STAMPS="$CACHE/stamps"
LOGS="$CACHE/logs"

# The cross C compiler: the libraries are built with it, and the Wine prefix is checked with a
# program it builds.
# shellcheck disable=SC2034 # used by the parts
CROSS_CC=i686-w64-mingw32-gcc-posix

say() { printf 'setup: %s\n' "$*"; }
die() {
  printf 'setup: ERROR: %s\n' "$*" >&2
  exit 1
}

# run LOGFILE CMD...: run a command with all output in LOGFILE; on failure show
# the end of the log and stop.
run() {
  local log=$1
  shift
  if ! "$@" >>"$log" 2>&1 </dev/null; then
    printf 'setup: ERROR: command failed: %s\n' "$*" >&2
    printf 'setup: last lines of %s:\n' "$log" >&2
    tail -n 30 "$log" >&2 || true
    exit 1
  fi
}

# begin_setup: the checks and folders every part needs before it starts.
begin_setup() {
  [[ $(id -u) -eq 0 ]] || die "must run as root"
  mkdir -p "$CACHE" "$STAMPS" "$LOGS"
}

# Whether apt's package lists were refreshed in this run: each part refreshes them at most once,
# and only when something it needs is missing.
APT_UPDATED=${APT_UPDATED:-0}
# A mirror caught in the middle of its sync serves index files of the wrong size for a while, and
# apt-get update fails though it has read the other indexes. Such a failure is tried again, then
# let pass: the install that follows fails, and names the package, only when one is not there.
apt_update() {
  local attempt
  for attempt in 1 2 3; do
    say "apt-get update"
    if apt-get update >>"$LOGS/apt.log" 2>&1 </dev/null; then
      APT_UPDATED=1
      return
    fi
    ((attempt < 3)) && sleep 20
  done
  say "apt-get update failed three times (see $LOGS/apt.log); installing from the indexes it read"
  APT_UPDATED=1
}

# Stamps: one file in $STAMPS for each thing the set-up makes, whose first line records what it
# was made from (versions and a hash of its recipe). A thing is made again when the line it would
# record now differs, so a version bump or a changed recipe rebuilds that thing and nothing else.

# stamp_line NAME: the line the stamp NAME records, or nothing when there is none.
stamp_line() {
  [[ -f "$STAMPS/$1" ]] && head -n 1 "$STAMPS/$1"
  return 0
}

# write_stamp NAME LINE [NOTE...]: record LINE, and notes for the reader, as the stamp NAME.
write_stamp() {
  local name=$1
  shift
  printf '%s\n' "$@" >"$STAMPS/$name"
}

# recipe_hash: a short hash of the recipe text on standard input (function definitions as bash
# prints them, the values and files they use).
recipe_hash() {
  sha256sum | cut -c 1-16
}
