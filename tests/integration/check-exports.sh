#!/usr/bin/env bash
# Checks the names a DLL exports: exactly the given names, every one
# undecorated (no "@n", no leading "_"). The surface of a DLL is a contract;
# a name beyond it fails as a missing one does.
#   check-exports.sh OBJDUMP DLL NAME...
set -euo pipefail
objdump=$1 dll=$2
shift 2

export LC_ALL=C
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
extra=$(comm -13 <(echo "$expected") <(echo "$actual"))
if [ -n "$extra" ]; then
  echo "exported by $dll beyond the expected names:"; echo "$extra"; status=1
fi
echo "$(grep -c . <<<"$actual" || true) names exported by $(basename "$dll")"
exit $status
