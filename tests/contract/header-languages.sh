#!/usr/bin/env bash
# The contract header in every language version it supports, with every
# warning an error: C89, C99, C11 and C17, C++98, C++11 and C++20, with
# this tree's MinGW compilers and with clang for the MSVC target of the
# same width (freestanding: no MSVC headers here), so that its size checks
# hold and no construct of a later version (or a 64-bit constant in a C89
# unit) slips in.
#   header-languages.sh INCLUDE_DIR MINGW_TRIPLE
set -uo pipefail
include=$1 triple=$2
case "$triple" in
  i686-*) msvc=i686-pc-windows-msvc ;;
  *) msvc=x86_64-pc-windows-msvc ;;
esac
unit=$(mktemp --suffix=.c)
trap 'rm -f "$unit"' EXIT
# Every list expanded once more in the unit's own code.
cat >"$unit" <<'UNIT'
#include "wscbs/wscbs.h"
#define NAME_(result, name, parameters) #name,
static const char* const names[] = {WSCBS_EXPORTS(NAME_) WSCBS_HOST_SERVICES(NAME_) WSCBS_RUNTIME_FUNCTIONS(NAME_) 0};
const char* const* contract_names = names;
UNIT
failed=0 ran=0
compile() {  # compile LABEL COMPILER ARGS...
  local label=$1; shift
  ran=$((ran + 1))
  if ! output=$("$@" -pedantic -Wall -Wextra -Werror -fsyntax-only -I"$include" "$unit" 2>&1); then
    echo "FAILED: $label"; echo "$output" | head -n 20; failed=$((failed + 1))
  fi
}
for std in c89 c99 c11 c17; do
  compile "$triple-gcc -std=$std" "$triple-gcc-posix" -std=$std -x c
  compile "clang --target=$msvc -std=$std" clang-14 --target=$msvc -ffreestanding -std=$std -x c
done
for std in c++98 c++11 c++20; do
  compile "$triple-g++ -std=$std" "$triple-g++-posix" -std=$std -x c++
  compile "clang++ --target=$msvc -std=$std" clang-14 --target=$msvc -ffreestanding -std=$std -x c++
done
echo "$((ran - failed)) passed, $failed failed"
[ $failed -eq 0 ]
