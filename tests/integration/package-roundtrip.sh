#!/usr/bin/env bash
# The package a deployer gets: packs the build with cpack, unpacks the ZIP
# into an empty folder and checks what it holds: every binary stripped (no
# debug section), the installation check and its script, the contract
# header, the MSVC import libraries (linked here by LLVM's linker for the
# MSVC target of the build's width, the program's import table read back),
# the guide and its example, and no link of the guide pointing outside the
# package. Where the build's programs run (RUN=ON), the shell then starts
# from the unpacked folder in console mode under Wine, with no path into the
# build tree or the compiler's runtime, and so does the guide's example
# (HostExample.exe, from the build's folder: another folder than the
# module's), which initialises, embeds, closes and unloads.
#   package-roundtrip.sh BUILD_DIR SOURCE_DIR OBJDUMP RUN(ON|OFF)
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
objdump=$3 run=$4
work=$(mktemp -d "$build/package-roundtrip.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "$*"; status=1; }

(cd "$build" && cpack -B "$work/out" >"$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
zip=$(ls "$work"/out/wscbs-*.zip)
echo "package: $(basename "$zip") ($(stat -c %s "$zip") bytes)"
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
package="$work/unpacked"
for needed in host/MainFrame.exe host/wscbs.dll host/ModuleLib.dll host/SharedRt.dll host/XPKestrel.dll \
              host/wscbs-check.exe host/MainFrame.ini check WSCBS/errmsg.xml include/wscbs/wscbs.h \
              lib/wscbs.lib lib/SharedRt.lib lib/ModuleLib.def docs/host-integration.md docs/host-example.c; do
  [ -f "$package/$needed" ] || fail "the package lacks $needed"
done
[ -x "$package/check" ] || fail "the package's check script is not executable"

# Stripped: no binary carries a debug section.
binaries=$(cd "$package" && find . -name '*.dll' -o -name '*.exe' | sort)
for binary in $binaries; do
  sections=$("$objdump" -h "$package/$binary" | awk '$2 ~ /^\.debug/ { print $2 }' | tr '\n' ' ')
  [ -z "$sections" ] || fail "${binary#./} carries debug sections: $sections"
done
echo "binaries: $(echo "$binaries" | wc -l), $(du -cb $(sed "s|^\.|$package|" <<<"$binaries") | tail -n 1 | cut -f1) bytes"

# The guide's links stay inside the package.
grep -o '](\([^)#]*\)' "$package/docs/host-integration.md" | sed 's/^](//' | sort -u | while read -r link; do
  case "$link" in http*://*) continue ;; esac
  [ -e "$package/docs/$link" ] || echo "the guide links $link, which the package does not hold"
done >"$work/links"
[ ! -s "$work/links" ] || { cat "$work/links"; status=1; }

# The MSVC import libraries: a program of the MSVC target that calls the
# three exports and every runtime function links against them alone (no C
# library, no Windows SDK), and its import table names them undecorated.
if "$objdump" -f "$package/host/wscbs.dll" | grep -q 'pei-i386'; then target=i686-pc-windows-msvc; else target=x86_64-pc-windows-msvc; fi
cat >"$work/msvc.c" <<'UNIT'
#include "wscbs/wscbs.h"
#define CALLED_(result, name, parameters) (void*)&name,
void* const called[] = {WSCBS_EXPORTS(CALLED_) WSCBS_RUNTIME_FUNCTIONS(CALLED_) 0};
int __cdecl entry(void) { return called[0] != 0; }
UNIT
if clang-14 --target=$target -ffreestanding -std=c11 -Wall -Werror -I"$package/include" -c "$work/msvc.c" \
     -o "$work/msvc.obj" 2>"$work/msvc.log" &&
   lld-link-14 /nologo /nodefaultlib /entry:entry /subsystem:console "$work/msvc.obj" "$package/lib/wscbs.lib" \
     "$package/lib/SharedRt.lib" /out:"$work/msvc.exe" >>"$work/msvc.log" 2>&1; then
  imports=$("$objdump" -p "$work/msvc.exe" | awk '/DLL Name:/ { dll = $3 } /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, $NF }' | sort)
  for name in InitSubApp ShowFrmView FreeDLLProc; do
    grep -qx "wscbs.dll $name" <<<"$imports" || fail "an MSVC program linked with wscbs.lib does not import $name by name"
  done
  runtime_names=$(printf '#include "wscbs/wscbs.h"\n#define NAME_(result, name, parameters) RUNTIME_NAME name\nWSCBS_RUNTIME_FUNCTIONS(NAME_)\n' |
    clang-14 -E -P --target=$target -ffreestanding -I"$package/include" -x c - | grep -o 'RUNTIME_NAME [A-Za-z_]*' | cut -d' ' -f2)
  for name in $runtime_names; do
    grep -qx "SharedRt.dll $name" <<<"$imports" || fail "an MSVC program linked with SharedRt.lib does not import $name by name"
  done
  runtime_imports=$(grep -c '^SharedRt.dll ' <<<"$imports" || true)
  grep -E '@|^[^ ]+ _' <<<"$imports" && fail "decorated imports in the MSVC program"
  echo "MSVC ($target) program: $(grep -c '^wscbs.dll ' <<<"$imports") imports of wscbs.dll, $runtime_imports of SharedRt.dll"
else
  cat "$work/msvc.log"; fail "an MSVC program does not link against lib/wscbs.lib and lib/SharedRt.lib"
fi

[ "$run" = ON ] || exit $status

. "$source/scripts/wine-env" "$build"
unset WINEPATH
"$source/scripts/wine-prefix" "$WINEPREFIX"
# The package's check on its own sample, with nothing built.
checked=$(cd "$package" && WINELOADER="$wine_loader" ./check . 2>&1) || { echo "$checked"; fail "./check . found problems in the package's sample"; }
grep -qx "The installation is clean." <<<"$checked" || { echo "$checked"; fail "./check . did not report a clean installation"; }
report=$(cd "$package/host" && env LC_ALL="$wine_locale" "$wine_loader" "$package/host/MainFrame.exe" \
  --console "Z:${package//\//\\}" 2>&1 | iconv -f GBK -t UTF-8 -c | tr -d '\r') || {
  echo "$report"; echo "the shell from the package failed"; exit 1; }
grep -q "^InitSubApp -> 1" <<<"$report" || { echo "$report"; fail "the shell's initialisation did not succeed"; }

# The guide's example against the package's reference services, which set
# themselves up from the package's host profile. A fresh copy: the shell's
# start above has already run the upgrade.
rm -rf "$package/WSCBS" && (cd "$package" && cmake -E tar xf "$zip" WSCBS)
example=$(cd "$build/bin" && env LC_ALL="$wine_locale" "$wine_loader" "$build/bin/HostExample.exe" \
  "Z:${package//\//\\}\\host" --close 2>&1 | iconv -f GBK -t UTF-8 -c | tr -d '\r') || {
  echo "$example"; echo "the guide's example failed against the package"; exit 1; }
echo "$example"
for line in "InitSubApp -> 1" "ShowFrmView -> 1" "closed: WSCBS004-00-01" "FreeLibrary -> 1"; do
  grep -qxF "$line" <<<"$example" || fail "the example did not print: $line"
done
grep -qE '^shown: WSCBS\|[0-9]+\|0\|1$' <<<"$example" || fail "the example saw no shown notice"
exit $status
