#!/usr/bin/env bash
# Generates the translator of one language and compiles it with translator_fuzz.c into a fuzz
# target under AddressSanitizer and UndefinedBehaviorSanitizer. (-Wno-switch: the generated FetchVal
# switches over the value kinds without a case for vtNone.)
# usage: build_translator.sh PARVOLEN LANGFILE GENDIR OUTPUT CC
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
parvolen=$1 lang=$2 gen=$3 output=$4 cc=$5

rm -rf "$gen"
mkdir -p "$gen"
if ! "$parvolen" -q -s "$lang" "$gen" > "$gen/generate.log"; then
  echo "generating $lang failed:" >&2
  cat "$gen/generate.log" >&2
  exit 1
fi

# What the generated modules offer decides what the entry drives (see translator_fuzz.c).
flags=()
grep -q 'PureVal Val;' "$gen/_lexer.h" && flags+=(-DFUZZ_MULTI_VALUED)
grep -q '^ErrCode FetchVal(Value \*V) {' "$gen/_lexer.c" && flags+=(-DFUZZ_HAVE_FETCHVAL)
for kind in Str Id; do
  grep -q "typedef enum {vtNone.*vt$kind[,}]" "$gen/_lexer.h" && flags+=("-DFUZZ_HAS_VT${kind^^}")
done
eoi=$(grep -A2 'check for EOF' "$gen/_lexer.c" | grep -o 'Term_[A-Za-z0-9_]*' || true)
[ -n "$eoi" ] && flags+=("-DFUZZ_EOI_TERM=$eoi")
[ -f "$gen/_writer.c" ] && flags+=(-DFUZZ_HAVE_WRITER)
# The semantic machine, whose values the entry releases after each parse as the end of a
# process would.
if [ -f "$gen/_actions.c" ]; then
  grep -q $'^Value\tRegister\[3\]' "$gen/_actions.c" && flags+=(-DFUZZ_HAVE_REGISTERS)
  grep -q $'^int\tsp;' "$gen/_actions.c" && flags+=(-DFUZZ_HAVE_STACK)
  grep -q $'^Value\tGRegister\[3\]' "$gen/_actions.c" && flags+=(-DFUZZ_HAVE_GREGISTERS)
fi
grep -q '^typedef char \*Value;' "$gen/_lexer.h" && flags+=(-DFUZZ_HEAP_VALUE)

# The parser drives the translator when every module it includes was generated; a build whose
# parser needs a module that this build cannot generate yet fuzzes the lexer alone.
sources=()
for source in "$gen"/_*.c; do
  [ "$(basename "$source")" = _parser.c ] || sources+=("$source")
done
if [ -f "$gen/_parser.c" ]; then
  missing=""
  for header in $(sed -nE $'s/^#include\t"([^"]*)"$/\\1/p' "$gen/_parser.c"); do
    [ -f "$gen/$header" ] || missing="$missing $header"
  done
  if [ -z "$missing" ]; then
    flags+=(-DFUZZ_HAVE_PARSER)
    sources+=("$gen/_parser.c")
  else
    echo "note: $(basename "$lang"): the parser includes$missing, not generated: fuzzing the lexer alone" >&2
  fi
fi

"$cc" -std=gnu11 -g -O1 -Werror=implicit-function-declaration \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -Wno-switch \
  "${flags[@]}" -I"$gen" -o "$output" "$here/translator_fuzz.c" "${sources[@]}"
