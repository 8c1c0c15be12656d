#!/usr/bin/env bash
# scripts/check's own refusals, before anything is built or run: a folder
# that is not there and a command line it does not know end with exit
# status 2 and say why.
#   check-script.sh SOURCE_DIR
set -uo pipefail
source=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect_refusal TEXT ARGS...: scripts/check ARGS exits 2 and says TEXT.
expect_refusal() {
  local text=$1 output status
  shift
  output=$("$source/scripts/check" "$@" 2>&1)
  status=$?
  if [ $status -ne 2 ]; then
    echo "FAIL $*: exit status $status, not 2"; failures=$((failures + 1))
  elif ! grep -qF -- "$text" <<<"$output"; then
    echo "FAIL $*: the message does not say \"$text\":"; echo "$output"; failures=$((failures + 1))
  fi
}

expect_refusal "no installation folder $work/none" "$work/none"
expect_refusal "usage: scripts/check"
expect_refusal "usage: scripts/check" "$work" --zone
expect_refusal "usage: scripts/check" "$work" --bogus
expect_refusal "usage: scripts/check" "$work" "$work"
[ $failures -eq 0 ] && echo "scripts/check refuses what it cannot check"
exit $failures
