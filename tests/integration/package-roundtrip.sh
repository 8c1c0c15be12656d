#!/usr/bin/env bash
# The package a deployer gets: packs the build with cpack, unpacks the ZIP
# into an empty folder and runs the shell from there in console mode under
# Wine, with no path into the build tree or the compiler's runtime: the
# initialisation must succeed with what the package holds.
#   package-roundtrip.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d "$build/package-roundtrip.XXXXXX")
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -B "$work/out" >/dev/null)
zip=$(ls "$work"/out/wscbs-*.zip)
echo "package: $(basename "$zip") ($(stat -c %s "$zip") bytes)"
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
for needed in host/MainFrame.exe host/wscbs.dll host/ModuleLib.dll host/SharedRt.dll host/XPKestrel.dll \
              WSCBS/errmsg.xml; do
  [ -f "$work/unpacked/$needed" ] || { echo "the package lacks $needed"; exit 1; }
done

. "$source/scripts/wine-env" "$build"
unset WINEPATH
"$source/scripts/wine-prefix" "$WINEPREFIX"
installation="$work/unpacked"
report=$(cd "$installation/host" && env LC_ALL="$wine_locale" "$wine_loader" "$installation/host/MainFrame.exe" \
  --console "Z:${installation//\//\\}" 2>&1 | iconv -f GBK -t UTF-8 -c | tr -d '\r') || {
  echo "$report"
  echo "the shell from the package failed"
  exit 1
}
echo "$report"
grep -q "^InitSubApp -> 1" <<<"$report" || { echo "the initialisation did not succeed"; exit 1; }
