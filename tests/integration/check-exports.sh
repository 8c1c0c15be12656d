#!/usr/bin/env bash
# Checks the names a DLL exports: every one undecorated (no "@n", no
# leading "_"), and either exactly the given names or at least them.
#   check-exports.sh OBJDUMP exactly|includes DLL NAME...
set -euo pipefail
objdump=$1 mode=$2 dll=$3
shift 3

actual=$("$objdump" -p "$dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/ s/^[[:space:]]*\[ *[0-9]*\] //p' | sort)
expected=$(printf '%s\n' "$@" | sort)
status=0

decorated=$(grep -E '@|^_' <<<"$actual" || true)
if [ -n "$decorated" ]; then
  echo "decorated export names in $dll:"; echo "$decorated"; status=1
fi
missing=$(comm -23 <(echo "$expected") <(echo "$actual"))
if [ -n "$missing" ]; then
  echo "not exported by $dll:"; echo "$missing"; status=1
fi
if [ "$mode" = exactly ]; then
  extra=$(comm -13 <(echo "$expected") <(echo "$actual"))
  if [ -n "$extra" ]; then
    echo "exported by $dll beyond the expected names:"; echo "$extra"; status=1
  fi
fi
echo "$(wc -l <<<"$actual") names exported by $(basename "$dll")"
exit $status
