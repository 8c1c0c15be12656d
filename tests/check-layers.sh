#!/usr/bin/env bash
# The module's folders are layers: each includes only from its own layer and
# those below it.
#   util < host < config < ui < module
# Prints every include that reaches up and fails when there is one.
#   check-layers.sh SOURCE_DIR
set -u
src=$1/src
layers=(util host config ui module)
status=0
for i in "${!layers[@]}"; do
  layer=${layers[$i]}
  above=("${layers[@]:$((i + 1))}")
  [ ${#above[@]} -gt 0 ] || continue
  pattern="#include \"($(IFS='|'; echo "${above[*]}"))/"
  if grep -rnE "$pattern" "$src/$layer"; then
    echo "^ $layer/ includes from a layer above it"
    status=1
  fi
done
exit $status
