#!/usr/bin/env bash
# A host written in C from the installed kit alone (tests/integration/chost):
# the build installed into a folder of its own (cmake --install), the host
# built against that tree only (its header, its lib/SharedRt.lib and
# lib/ModuleLib.def; C99, pedantic, every warning an error, no C++
# runtime), in another folder. Where this tree's programs run, the host
# then initialises the installed sample from there, embeds the view in its
# own window, clicks the period link (its function "005-01" stores a new
# period), presses F1, closes the view and unloads the module; its service
# log must equal the guide's table for the start-up and the first show.
#   c-host.sh BUILD_DIR SOURCE_DIR C_COMPILER OBJDUMP SQLITE_INCLUDE_DIR SQLITE_LIBRARY RUN(ON|OFF)
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
cc=$3 objdump=$4 sqlite_include=$5 sqlite_library=$6 run=$7
work=$(mktemp -d "$build/c-host.XXXXXX")
trap 'rm -rf "$work"' EXIT
kit="$work/kit" host="$work/host"
mkdir -p "$host"
cmake --install "$build" --prefix "$kit" >/dev/null

# The compiler's own helpers linked in (-static-libgcc), as a C program
# ships; the undecorated .def names bound to the __stdcall symbols.
flags=(-std=c99 -pedantic -Wall -Wextra -Werror -static-libgcc -I"$kit/include" -I"$sqlite_include")
"$cc" "${flags[@]}" -shared -o "$host/ModuleLib.dll" "$source/tests/integration/chost/CHostServices.c" \
  "$source/tests/integration/chost/CHostProgram.c" "$kit/lib/ModuleLib.def" "$kit/lib/SharedRt.lib" \
  "$sqlite_library" -lversion -Wl,--enable-stdcall-fixup,--kill-at
"$cc" "${flags[@]}" -o "$host/chost.exe" "$source/tests/integration/chost/chost.c"

status=0
for binary in ModuleLib.dll chost.exe; do
  imports=$("$objdump" -p "$host/$binary" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
  if grep -qiE 'libstdc\+\+|libgcc_s' <<<"$imports"; then
    echo "the C host's $binary imports the C++ runtime: $imports"; status=1
  fi
done
# The 30 services by their undecorated names, as the module imports them.
exported=$("$objdump" -p "$host/ModuleLib.dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/ s/^[[:space:]]*\[ *[0-9]*\] //p' | sort)
missing=$(comm -23 <(sed -n 's/^    //p' "$kit/lib/ModuleLib.def" | sort) <(echo "$exported"))
[ -z "$missing" ] || { echo "the C host's ModuleLib.dll does not export: $missing"; status=1; }
echo "C host built against $kit at $("$objdump" -f "$host/ModuleLib.dll" | sed -n 's/.*file format //p')"
[ "$run" = ON ] || exit $status

. "$source/scripts/wine-env" "$build"
unset WINEPATH
"$source/scripts/wine-prefix" "$WINEPREFIX"
windows_kit="Z:${kit//\//\\}"
output=$(cd "$host" && env LC_ALL="$wine_locale" "$wine_loader" "$host/chost.exe" "$windows_kit" \
  "Z:${host//\//\\}\\services.log" 200703 2>&1 | iconv -f GBK -t UTF-8 -c | tr -d '\r') || {
  echo "$output"; echo "the C host failed"; exit 1; }
echo "$output"

expect() {  # expect LINE: the host printed exactly this line
  grep -qxF -- "$1" <<<"$output" || { echo "missing: $1"; status=1; }
}
previous_month=$(date -d "$(date +%Y-%m-15) -1 month" +%Y%m)
expect "ModuleLib.dll in use: Z:${host//\//\\}\\ModuleLib.dll"
expect "InitSubApp -> 1: SubAppCode=WSCBS;UserCode=001;RunMode=1"
# What the module published, read back with the runtime's C functions
# (twice: after the start, and after the period link).
[ "$(grep -c "^Global_company=330106999900017$" <<<"$output")" = 2 ] || { echo "Global_company not published"; status=1; }
expect "Global_curkjny=$previous_month"
expect "Global_curkjny=200703"
[ "$(grep -c "^ShowFrmView -> 1$" <<<"$output")" = 2 ] || { echo "ShowFrmView did not answer 1 twice"; status=1; }
grep -qE '^notice 1282: "WSCBS\|[0-9]+\|0\|1" \(([0-9]+) bytes, sender the host window\)$' <<<"$output" ||
  { echo "no shown notice"; status=1; }
expect "the container's child window is the view the shown notice names"
expect 'notice 1302: "WSCBS004-00-01" (15 bytes, sender the host window)'
expect "FreeDLLProc -> 1"
expect "FreeLibrary -> 1"
expect "wscbs.dll still loaded: no"
expect "notices: 1 shown, 1 closed, 1 help requests, 0 errors"

# The service log against the guide's table.
rows=$("$source/scripts/host-services-table" --rows "$host/services.log" "$windows_kit")
table=$(awk '/^<!-- services:begin -->$/ { inside = 1; next } /^<!-- services:end -->$/ { inside = 0 }
             inside && /^\| [0-9]/' "$source/docs/host-integration.md")
if ! diff <(echo "$table") <(grep -E '^\| [0-9]+ \| (InitSubApp|ShowFrmView) \|' <<<"$rows"); then
  echo "the C host's service log for the start-up and the first show differs from the guide's table"; status=1
fi
# The period link: the right checked, the host's function run with the
# container as owner, the period read back.
link=$(grep '| the click on the period link |' <<<"$rows" | cut -d'|' -f4,5,6 | tr -s ' ')
expected_link=' `GetCurSubAppCode` | | `"WSCBS"`
 `CheckFunctionCanUse` | `"WSCBS005-01"` | `1`
 `ExecuteFunc` | `<host container>, "WSCBS005-01", ""` | `1, text ""`
 `GetCurSubAppVo` | | `VO(WSCBS)`'
[ "$(head -n 4 <<<"$link" | sed 's/ *$//')" = "$(sed 's/ *$//' <<<"$expected_link")" ] ||
  { echo "the period link's calls:"; echo "$link"; status=1; }
exit $status
