#!/usr/bin/env bash
# Checks the layering of src/: a file may include headers of its own layer and of lower layers
# only. Lists every include that crosses layers and fails on one that points upward or sideways.
# Usage: check_layers.sh <src directory>
set -euo pipefail
src=${1:?usage: check_layers.sh <src directory>}

# Rank of each layer; layers of equal rank know nothing of each other.
declare -A rank=([base]=0 [model]=1 [analysis]=2 [semantics]=2 [findings]=2 [regex]=2 [reader]=3 [codegen]=3 [driver]=4 [inspect]=4)

bad=0
while IFS= read -r line; do
  file=${line%%:*}
  header=$(sed -E 's/^[^"]*"([^"]*)".*$/\1/' <<<"${line#*:}")
  from=${file#"$src"/}; from=${from%%/*}
  to=${header%%/*}
  [ "$header" = "$to" ] && continue  # a header without a layer folder
  [ "$from" = "$to" ] && continue
  if [ -z "${rank[$from]+x}" ] || [ -z "${rank[$to]+x}" ]; then
    echo "unknown layer: $file includes $header"
    bad=1
  elif [ "${rank[$to]}" -lt "${rank[$from]}" ]; then
    echo "ok       $from -> $to  ($file)"
  else
    echo "UPWARD   $from -> $to  ($file includes $header)"
    bad=1
  fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "' "$src" | sed -E 's/^([^:]*):[0-9]+:/\1:/')
exit $bad
