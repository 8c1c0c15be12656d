#!/usr/bin/env bash
# The soak driver against a host that leaks: for each kind, a short run in
# which the host's start function leaks one GDI object, window or heap block
# per show must end with exit code 1 and name that figure as growing; the
# same run without a leak must end flat.
#   leak-caught.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d "$build/leak-caught.XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=0
# run NAME EXPECTED_STATUS EXPECTED_LINE [--leak KIND]
run() {
  local name=$1 expected=$2 line=$3; shift 3
  rm -rf "$work/installation"
  cp -a "$source/examples" "$work/installation"
  local out status
  out=$("$source/scripts/wine-run" "$build" "$build/bin/ViewSoak.exe" "Z:${work//\//\\}\\installation" 45 5 "$@" \
    2>&1 </dev/null)
  status=$?
  echo "== $name: status $status"
  echo "$out"
  if [ "$status" -ne "$expected" ] || ! grep -q -- "$line" <<<"$out"; then
    echo "-- expected status $expected and a line with \"$line\""
    failed=1
  fi
}
run "no leak" 0 "^soak: flat over 45 cycles"
run "a brush per show" 1 "^soak: gdi grows" --leak gdi
run "a window per show" 1 "^soak: windows grows" --leak windows
run "256 bytes per show" 1 "^soak: heap KB grows" --leak heap
exit $failed
