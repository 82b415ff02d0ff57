#!/usr/bin/env bash
# Generates the embeddable translator of one language (-s --prefix=fz) and compiles it with
# embedded_fuzz.c into a fuzz target under AddressSanitizer and UndefinedBehaviorSanitizer.
# usage: build_embedded.sh PARVOLEN LANGFILE GENDIR OUTPUT CC
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
parvolen=$1 lang=$2 gen=$3 output=$4 cc=$5

rm -rf "$gen"
mkdir -p "$gen"
if ! "$parvolen" -q -s --prefix=fz "$lang" "$gen" > "$gen/generate.log"; then
  echo "generating $lang failed:" >&2
  cat "$gen/generate.log" >&2
  exit 1
fi
"$cc" -std=gnu11 -g -O1 -Wall -Wextra -Werror -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -fno-omit-frame-pointer -I"$gen" -o "$output" "$here/embedded_fuzz.c" "$gen/fz.c"
