#!/usr/bin/env bash
# Every description of examples/ and fuzz/languages/ gives an embeddable translator that compiles
# warning-free as strict C99 with every generation option: plain, with the semantic instructions
# translated (-s, values of several kinds) and with trace support (-T).
set -u
here=$(cd "$(dirname "$0")/../../../.." && pwd)
fail=0
for lang in "$here"/examples/*/*.lang "$here"/fuzz/languages/*.lang; do
  case $lang in */json-classic.lang) continue ;; esac
  for flags in "" "-s -T"; do
    out="$WORK_DIR/$(basename "$lang" .lang)${flags// /}"
    mkdir -p "$out"
    # shellcheck disable=SC2086
    if ! "$PARVOLEN" -q -w $flags --prefix=lx "$lang" "$out" > "$out.log" 2>&1; then
      echo "parvolen $flags --prefix failed on $lang:"; cat "$out.log"; fail=1; continue
    fi
    if ! cc -std=c99 -pedantic -Wall -Wextra -Werror -c -o "$out/lx.o" "$out/lx.c" 2> "$out.cc"; then
      echo "lx.c of $lang ($flags) does not compile:"; head -20 "$out.cc"; fail=1
    fi
  done
done
exit $fail
