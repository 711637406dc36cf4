# Shared by the set-up scripts' shell tests (source it): the project's
# scripts, a temporary folder removed at the end, stand-ins for commands that
# a case must not really run, and the count of checks. A case keeps its
# files in $tmp/CASE, its output in $tmp/CASE/output.
set -uo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$repo/scripts/lib/common.sh"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/zvx-script-test.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
stubs="$tmp/bin"
mkdir -p "$stubs"

# stub NAME: a stand-in for the command NAME on $stubs, its body (sh) read
# from standard input.
stub() {
  { echo '#!/bin/sh'; cat; } >"$stubs/$1"
  chmod +x "$stubs/$1"
}

# A normal user, so that root's commands go through sudo; and a sudo that
# records each call's arguments (NUL-separated) in $CASE_DIR/sudo.N before
# running them. Only a stand-in for sudo itself works: sudo's secure_path
# drops a stand-in placed on PATH for the command it runs.
stub id <<'STUB'
case "$1" in -u) echo 1000 ;; -un) echo tester ;; *) exec /usr/bin/id "$@" ;; esac
STUB
stub sudo <<'STUB'
n=$(ls "$CASE_DIR"/sudo.* 2>/dev/null | wc -l)
printf '%s\0' "$@" >"$CASE_DIR/sudo.$((n + 1))"
exec "$@"
STUB

passed=0 failed=0
# check CASE DESCRIPTION CONDITION...: counts the check; a failure prints
# its line and the case's output.
check() {
  local name="$1" what="$2"
  shift 2
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s: %s\n' "$name" "$what"
    sed 's/^/    | /' "$tmp/$name/output" 2>/dev/null
  fi
}
sudo_calls() { ls "$tmp/$1"/sudo.* 2>/dev/null | wc -l; }
# root_args CASE: the arguments of the case's first command as root.
root_args() { [ -e "$tmp/$1/sudo.1" ] && mapfile -d '' -t args <"$tmp/$1/sudo.1"; }
output_has() { grep -qF -- "$2" "$tmp/$1/output"; }
# finish TITLE: prints the count; fails when a check failed.
finish() {
  printf '%s: %d passed, %d failed\n' "$1" "$passed" "$failed"
  [ "$failed" -eq 0 ]
}
