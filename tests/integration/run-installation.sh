#!/usr/bin/env bash
# scripts/run --installation DIR on folders that are no installation, or an
# incomplete one: exit status 2 and a message naming what is missing, before
# anything is built or laid out, pointing at scripts/check. The sample, and the sample with the
# binaries in its host folder, pass the check.
#   run-installation.sh SOURCE_DIR
set -uo pipefail
source=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A fresh copy of the sample installation in $work/$1.
sample() {
  rm -rf "${work:?}/$1"
  mkdir -p "$work/$1"
  cp -r "$source/examples/." "$work/$1/"
}

# expect_refusal NAME TEXT: scripts/run --installation $work/NAME exits 2
# and says TEXT; it builds nothing.
expect_refusal() {
  local output status
  output=$("$source/scripts/run" --installation "$work/$1" 2>&1)
  status=$?
  if [ $status -ne 2 ]; then
    echo "FAIL $1: exit status $status, not 2"; failures=$((failures + 1))
  elif ! grep -qF -- "$2" <<<"$output"; then
    echo "FAIL $1: the message does not say \"$2\":"; echo "$output"; failures=$((failures + 1))
  elif ! grep -qF "scripts/check DIR tells what a start would meet" <<<"$output"; then
    echo "FAIL $1: the message does not point at scripts/check:"; echo "$output"; failures=$((failures + 1))
  elif grep -q '^== building\|^== laying out' <<<"$output"; then
    echo "FAIL $1: went on after the check:"; echo "$output"; failures=$((failures + 1))
  else
    echo "ok   $1: $(tail -n 1 <<<"$output")"
  fi
}

expect_refusal absent "no installation folder $work/absent"

: >"$work/plain-file"
expect_refusal plain-file "is not a folder"

mkdir -p "$work/empty"
expect_refusal empty "the host folder host/ is missing"

sample no-profile
rm "$work/no-profile/host/MainFrame.ini"
expect_refusal no-profile "host/MainFrame.ini is missing"

sample no-current
sed -i 's/^CurrentSubApp=.*/CurrentSubApp=/' "$work/no-current/host/MainFrame.ini"
expect_refusal no-current "names no current sub-application ([Host] CurrentSubApp)"

sample unknown-current
sed -i 's/^CurrentSubApp=.*/CurrentSubApp=OTHER/' "$work/unknown-current/host/MainFrame.ini"
expect_refusal unknown-current "no section [SubApp OTHER]"

sample no-subapp-folder
rm -rf "$work/no-subapp-folder/WSCBS"
expect_refusal no-subapp-folder "the sub-application folder of WSCBS is missing: $work/no-subapp-folder/host/../WSCBS"

sample some-binaries
: >"$work/some-binaries/host/MainFrame.exe"
: >"$work/some-binaries/host/wscbs.dll"
expect_refusal some-binaries "not SharedRt.dll ModuleLib.dll"

sample not-programs
for name in MainFrame.exe wscbs.dll SharedRt.dll XPKestrel.dll ModuleLib.dll; do
  echo text >"$work/not-programs/host/$name"
done
expect_refusal not-programs "is not a 32-bit or 64-bit x86 Windows program"

# The usage is refused the same way.
output=$("$source/scripts/run" --installation 2>&1)
status=$?
if [ $status -ne 2 ] || ! grep -q 'usage: scripts/run' <<<"$output"; then
  echo "FAIL --installation without a folder: status $status: $output"; failures=$((failures + 1))
fi

# Installations the shell runs on: the sample as it is (the build's
# binaries), with the section and key names in another case and a GBK
# profile, and with binaries of its own.
sample plain
output=$("$source/scripts/check-installation" "$work/plain" 2>&1) || {
  echo "FAIL the sample: $output"; failures=$((failures + 1)); }
grep -q "^binaries: none in host/" <<<"$output" || { echo "FAIL the sample: $output"; failures=$((failures + 1)); }

sample gbk
tail -c +4 "$source/examples/host/MainFrame.ini" | iconv -f UTF-8 -t GBK |
  sed 's/^\[Host\]/[HOST]/; s/^CurrentSubApp=/currentsubapp = /; s/^\[SubApp WSCBS\]/[subapp  WSCBS]/' \
  >"$work/gbk/host/MainFrame.ini"
output=$("$source/scripts/check-installation" "$work/gbk" 2>&1) ||
  { echo "FAIL a GBK profile: $output"; failures=$((failures + 1)); }
grep -q "^sub-application: WSCBS in $work/gbk/WSCBS$" <<<"$output" ||
  { echo "FAIL a GBK profile: $output"; failures=$((failures + 1)); }

if [ $# -ge 2 ]; then
  # BIN: a build's bin/ folder with the five binaries of one width.
  sample own-binaries
  for name in MainFrame.exe wscbs.dll SharedRt.dll XPKestrel.dll ModuleLib.dll; do
    cp "$2/$name" "$work/own-binaries/host/"
  done
  output=$("$source/scripts/check-installation" "$work/own-binaries" 2>&1)
  status=$?
  if ! grep -q "^binaries: the installation's own (\(32\|64\)-bit)" <<<"$output" &&
     ! { [ $status -eq 2 ] && grep -q "runs no i386 code" <<<"$output"; }; then
    echo "FAIL binaries of its own: $output"; failures=$((failures + 1))
  fi
fi

[ $failures -eq 0 ] && echo "all refusals and checks as expected"
exit $((failures > 0))
