#!/usr/bin/env bash
# The module's folders are layers, lowest first:
#   text < util < xml, profile, host < startup < ui < module
# A file includes only from its own folder and the layers below it; folders
# of one level (xml, profile, host) do not include each other. Inside
# startup/ each step's folder (catalogue/, upgrade/, regional/, actions/)
# includes from itself and from what the steps share (startup/*.h), never
# from another step, and the shared files include from no step.
# Prints every include that breaks this and fails when there is one.
#   check-layers.sh SOURCE_DIR
set -u
src=$1/src
level() {  # level FOLDER: prints the level of a top folder of src/, or nothing
  case $1 in
    text) echo 1 ;; util) echo 2 ;; xml|profile|host) echo 3 ;;
    startup) echo 4 ;; ui) echo 5 ;; module) echo 6 ;;
  esac
}
status=0
while IFS= read -r file; do
  rel=${file#"$src"/}
  folder=$(dirname "$rel")   # e.g. startup/upgrade
  top=${folder%%/*}
  own=$(level "$top")
  [ -n "$own" ] || { echo "$rel: src/$top is no layer of tests/check-layers.sh"; status=1; continue; }
  while IFS=: read -r line included; do
    target=$(dirname "$included")
    target_top=${target%%/*}
    theirs=$(level "$target_top")
    [ -n "$theirs" ] || continue   # not a folder of the module (sharedrt/, wscbs/, ...)
    why=""
    if [ "$target_top" != "$top" ]; then
      [ "$theirs" -lt "$own" ] || why="src/$target_top is not below src/$top"
    elif [ "$top" = startup ] && [ "$target" != "$folder" ] && [ "$target" != startup ]; then
      why="one start-up step's folder, or their shared files, include another step"
    fi
    [ -z "$why" ] || { echo "$rel:$line: #include \"$included\": $why"; status=1; }
  done < <(grep -noE '^#include "[a-z]+(/[a-z]+)*/[A-Za-z0-9_]+\.h"' "$file" | sed -E 's/^([0-9]+):#include "(.*)"$/\1:\2/')
done < <(find "$src" -name '*.h' -o -name '*.cpp' -o -name '*.rc' | sort)
exit $status
