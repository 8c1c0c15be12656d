#!/usr/bin/env bash
# The set-up's decisions, driven through stand-ins for apt-get, apt-cache,
# dpkg and dpkg-query on PATH: a mirror in the middle of a sync, an i386 set
# that cannot be installed, a source package that cannot be fetched. Each
# case asserts what the set-up asked apt-get for, what it printed and which
# path the scripts then take (scripts/i386-probe --wine32). The libraries it
# builds are laid out as already built, so only the package stage runs.
#   bootstrap-decisions.sh SOURCE_DIR CASE
set -uo pipefail
source=$(cd "$1" && pwd)
case_name=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
top="$work/top" bin="$work/bin" state="$work/state"
mkdir -p "$top/scripts" "$bin" "$state"
cp "$source/scripts/bootstrap" "$source/scripts/i386-probe" "$top/scripts/"
touch "$state/calls" "$state/installed"

# The third-party libraries and the locale, as a finished set-up leaves them.
built() {
  local deps="$top/.deps" target
  mkdir -p "$deps/include" "$deps/locale/zh_CN.UTF-8"
  touch "$deps/include/sqlite3.h" "$deps/include/expat.h"
  for target in i686 x86_64 native32 native64; do
    mkdir -p "$deps/$target/lib" "$deps/build/expat-$target"
    touch "$deps/$target/lib/libsqlite3.a" "$deps/$target/lib/libexpat.a"
    echo '#define XML_DTD 1' >"$deps/build/expat-$target/expat_config.h"
  done
}

# Stand-ins. STANDIN_UPDATE_FAILS: how many apt-get updates fail;
# STANDIN_BROKEN: packages apt-get cannot install; STANDIN_NO_SOURCE:
# source packages apt-get cannot fetch.
cat >"$bin/apt-get" <<'SH'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STANDIN_STATE/calls"
args=(); for a in "$@"; do case $a in -*) ;; *) args+=("$a") ;; esac; done
case ${args[0]} in
  update)
    n=$(( $(cat "$STANDIN_STATE/updates" 2>/dev/null || echo 0) + 1 ))
    echo $n >"$STANDIN_STATE/updates"
    if [ "$n" -le "${STANDIN_UPDATE_FAILS:-0}" ]; then
      echo "E: Failed to fetch http://mirror.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 192.0.2.1 80]" >&2
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
      exit 100
    fi ;;
  install)
    for p in "${args[@]:1}"; do
      if [[ " ${STANDIN_BROKEN:-} " == *" $p "* ]]; then
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100
      fi
    done
    printf '%s\n' "${args[@]:1}" >>"$STANDIN_STATE/installed" ;;
  source)
    if [[ " ${STANDIN_NO_SOURCE:-} " == *" ${args[1]} "* ]]; then
      echo "E: Unable to find a source package for ${args[1]}" >&2
      exit 100
    fi
    mkdir -p "${args[1]}-1.0" ;;
esac
SH
cat >"$bin/apt-cache" <<'SH'
#!/usr/bin/env bash
echo "Package: ${2:-}"
SH
cat >"$bin/dpkg" <<'SH'
#!/usr/bin/env bash
echo "dpkg $*" >>"$STANDIN_STATE/calls"
case $1 in
  --add-architecture) echo "$2" >>"$STANDIN_STATE/architectures" ;;
  --print-foreign-architectures) cat "$STANDIN_STATE/architectures" 2>/dev/null ;;
esac
SH
cat >"$bin/dpkg-query" <<'SH'
#!/usr/bin/env bash
p=${!#}
grep -qx "$p" "$STANDIN_STATE/installed" || exit 1
echo "install ok installed"
SH
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$bin/sudo"
chmod +x "$bin"/*
export PATH="$bin:$PATH" STANDIN_STATE="$state" WSCBS_APT_RETRY_PAUSE=0 WSCBS_DEPS_CACHE="$work/cache"
unset WSCBS_NO_I386 WSCBS_I386_KERNEL

failures=0
fail() { echo "FAIL ($case_name): $*"; failures=$((failures + 1)); }
run_bootstrap() {  # run_bootstrap: sets output and status
  output=$("$top/scripts/bootstrap" 2>&1)
  status=$?
}
expect_status() { [ "$status" -eq "$1" ] || fail "exit status $status, not $1; it printed:"$'\n'"$output"; }
expect_said() { grep -qF -- "$1" <<<"$output" || fail "it did not say \"$1\"; it printed:"$'\n'"$output"; }
expect_not_said() { ! grep -qF -- "$1" <<<"$output" || fail "it said \"$1\""; }
asked() { grep -cF -- "$1" "$state/calls"; }
expect_asked() {  # expect_asked COUNT CALL
  local n; n=$(asked "$2")
  [ "$n" -eq "$1" ] || fail "\"$2\" was called $n times, not $1"
}
expect_installed() { grep -qx "$1" "$state/installed" || fail "$1 was not installed"; }
expect_path() {  # expect_path 32|64: the Windows path scripts/i386-probe --wine32 gives
  local bits=64
  "$top/scripts/i386-probe" --wine32 && bits=32
  [ "$bits" = "$1" ] || fail "the scripts take the $bits-bit path, not the $1-bit one"
}

case $case_name in
  MirrorMidSyncIsTriedAgainThenPassedOver)
    # Fails twice, then works: three tries, no summary of failed indexes.
    built
    STANDIN_UPDATE_FAILS=2 WSCBS_I386_KERNEL=0 run_bootstrap
    expect_status 0
    expect_asked 3 "apt-get update"
    expect_said "apt-get update failed (try 2 of 3)"
    expect_not_said "Failed:"
    expect_installed wine64
    expect_installed qemu-user
    # Fails every time: the set-up goes on with the indexes it has, names the
    # one that failed and installs the 64-bit set.
    rm -f "$state/updates" "$state/installed"; : >"$state/calls"; touch "$state/installed"
    STANDIN_UPDATE_FAILS=9 run_bootstrap
    expect_status 0
    expect_asked 3 "apt-get update"
    expect_said "apt-get update failed 3 times; going on with the package indexes there are. Failed:"
    expect_said "  http://mirror.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
    expect_installed g++-mingw-w64-x86-64
    expect_path 64 ;;
  UninstallableI386SetTakesThe64BitPath)
    built
    export WSCBS_I386_KERNEL=1
    STANDIN_BROKEN=wine32 run_bootstrap
    expect_status 0
    expect_asked 1 "dpkg --add-architecture i386"
    expect_asked 1 "install -y -qq --no-install-recommends wine32"
    expect_installed wine64
    expect_said "bootstrap: the i386 packages (wine32) could not be installed"
    expect_said "you have held broken packages"
    expect_said "this machine takes the 64-bit path"
    expect_path 64
    "$top/scripts/i386-probe" || fail "the kernel answer changed with the packages"
    # The next run does not ask the mirror again, and says why the path is 64-bit.
    : >"$state/calls"
    STANDIN_BROKEN=wine32 run_bootstrap
    expect_status 0
    expect_asked 0 "apt-get"
    expect_said "this machine takes the 64-bit path"
    # Once the time is up, it tries again, and a working mirror gives the 32-bit path.
    WSCBS_I386_RETRY_MINUTES=0 run_bootstrap
    expect_status 0
    expect_asked 1 "install -y -qq --no-install-recommends wine32"
    expect_installed wine32
    expect_not_said "64-bit path"
    expect_path 32 ;;
  KernelWithoutI386AsksForNoI386Package)
    built
    WSCBS_I386_KERNEL=0 run_bootstrap
    expect_status 0
    expect_asked 0 "wine32"
    expect_asked 0 "--add-architecture"
    expect_installed g++-multilib
    expect_path 64 ;;
  UninstallableBaseSetStops)
    built
    STANDIN_BROKEN=wine64 WSCBS_I386_KERNEL=0 run_bootstrap
    expect_status 1
    expect_said "bootstrap: the packages of the 64-bit path cannot be installed:"
    expect_said "  E: Unable to correct problems, you have held broken packages."
    [ ! -f "$top/.deps/bootstrap.done" ] || fail "the set-up recorded itself done" ;;
  MissingSourcePackageIsNamed)
    # Nothing built yet: SQLite's source is the first one fetched.
    STANDIN_NO_SOURCE=sqlite3 WSCBS_I386_KERNEL=0 run_bootstrap
    expect_status 1
    expect_said "bootstrap: Debian's source package sqlite3 cannot be fetched (apt-get source sqlite3):"
    expect_said "  E: Unable to find a source package for sqlite3"
    expect_not_said "building SQLite"
    [ ! -f "$top/.deps/bootstrap.done" ] || fail "the set-up recorded itself done" ;;
  AFreshCloneTakesWhatAnotherCloneBuilt)
    # A finished set-up keeps its libraries; a clone without them takes them
    # and fetches no source (none could be fetched).
    built
    WSCBS_I386_KERNEL=0 run_bootstrap
    expect_status 0
    kept=$(find "$work/cache" -mindepth 1 -maxdepth 1 -type d ! -name '.new.*')
    [ "$(echo "$kept" | grep -c .)" -eq 1 ] || fail "the cache holds \"$kept\", not one entry"
    [ -z "$(find "$work/cache" -name '.new.*')" ] || fail "a half-written entry was left"
    rm -rf "$top/.deps"
    STANDIN_NO_SOURCE="sqlite3 expat" WSCBS_I386_KERNEL=0 run_bootstrap
    expect_status 0
    expect_said "taking the third-party libraries built before from $kept"
    expect_not_said "building"
    expect_asked 0 "apt-get source"
    for target in i686 x86_64 native32 native64; do
      [ -f "$top/.deps/$target/lib/libsqlite3.a" ] && [ -f "$top/.deps/$target/lib/libexpat.a" ] \
        || fail "the libraries of $target were not taken"
    done
    # Another recipe is another key: nothing is taken.
    rm -rf "$top/.deps"; echo "# another recipe" >>"$top/scripts/bootstrap"
    STANDIN_NO_SOURCE="sqlite3 expat" WSCBS_I386_KERNEL=0 run_bootstrap
    expect_status 1
    expect_not_said "taking the third-party libraries" ;;
  *) echo "no case $case_name"; exit 2 ;;
esac
[ $failures -eq 0 ] && echo "$case_name: passed"
exit $((failures > 0))
