#!/usr/bin/env bash
# The host's WriteIniValueString on a disk that is really full: the file
# must stay as it was, and the host must say it did not write it; with room
# again, the value goes in. Needs a small file system of its own (mount, as
# root); exits 77 (skipped) where none can be mounted.
#   full-disk-ini.sh WINE_RUN BUILD_DIR IniWriteProbe.exe
set -u
wine_run=$1 build=$2 probe=$3
disk=$(mktemp -d /tmp/wscbs-ini-disk.XXXXXX)
if ! mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null; then
  rmdir "$disk"
  echo "skipped: a small file system cannot be mounted here (needs root)"
  exit 77
fi
trap 'umount "$disk"; rmdir "$disk"' EXIT
new="$disk/new.ini" file="$disk/cookie.ini"
printf '[Difference]\r\nlastVersion=2.0.1\r\n' >"$file"
before=$(md5sum <"$file")
dd if=/dev/zero of="$disk/filler" bs=4k count=64 2>/dev/null  # stops when the disk is full
status=0
probe() { "$wine_run" "$build" "$probe" 'Z:'"${1//\//\\}" Difference lastRevenueCode 1330106 | tr -d '\r'; }
said=$(probe "$new")
[ ! -e "$new" ] || { echo "FAIL: a new file was made on a full disk:"; od -c "$new" | head; status=1; }
[ "$said" = "not written" ] || { echo "FAIL: making a file on a full disk the host said: $said"; status=1; }
said=$(probe "$file")
[ "$(md5sum <"$file")" = "$before" ] || { echo "FAIL: the file changed on a full disk:"; od -c "$file" | head; status=1; }
[ "$said" = "not written" ] || { echo "FAIL: on a full disk the host said: $said"; status=1; }
! compgen -G "$file.wscbs-*" >/dev/null && ! compgen -G "$new.wscbs-*" >/dev/null \
  || { echo "FAIL: a file was left beside"; status=1; }
rm -f "$disk/filler"
said=$(probe "$file")
grep -q '^lastRevenueCode=1330106' "$file" || { echo "FAIL: with room again the value is missing"; status=1; }
[ "$said" = "written" ] || { echo "FAIL: with room again the host said: $said"; status=1; }
[ $status -eq 0 ] && echo "the file stayed whole on the full disk, and took the value with room"
exit $status
