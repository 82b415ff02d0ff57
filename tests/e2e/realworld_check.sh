#!/usr/bin/env bash
# The check of the realworld-* end-to-end cases: runs programs written by others through the
# translator generated from a bundled description. The inputs live outside the repository, in
# shared/realworld/LANG beside it; without them the check is skipped, with a message and exit
# status 77 (reported by CTest as skipped).
#   valid/     every input must be accepted
#   negative/  every input must be rejected
#   dialect/   a neighbouring dialect: every input must be rejected
#   limits/    EXPECT names each input with "accept" or "reject"
# A rejection must come from the parse (Syntax error), the lexer (Spelling error, Value too long)
# and nothing else. Prints one summary line per folder and every input that came out otherwise.
# With PREFIX the embeddable translator (--prefix=PREFIX, strict C99) is run instead, optionally
# with the description's Lookahead raised to LOOKAHEAD; a rejection is then any located error,
# and limits/ is left out (it holds the classic translator's limits, such as its 255-byte values).
# usage: realworld_check.sh LANG DESCRIPTION MAIN [PREFIX [LOOKAHEAD]]
#   (with PARVOLEN and WORK_DIR set by run_case.sh)
set -u
here=$(cd "$(dirname "$0")" && pwd)
lang=$1 description=$2 main=$3 prefix=${4:-} lookahead=${5:-}
inputs=$here/../../../shared/realworld/$lang
if [ ! -d "$inputs" ]; then
  echo "SKIPPED: no real-world inputs for $lang (looked for shared/realworld/$lang beside the repository)"
  exit 77
fi
inputs=$(cd "$inputs" && pwd)

gen=$WORK_DIR/gen${prefix:+-$prefix$lookahead}
mkdir -p "$gen"
if [ -n "$prefix" ]; then
  if [ -n "$lookahead" ]; then
    # The analysis at a larger lookahead needs more views and decision nodes.
    sed -E -e "s/^Lookahead = [0-9]+/Lookahead = $lookahead/" -e 's/^(Views|Nodes) = [0-9]+/\1 = 200000/' \
      "$description" > "$gen/$lang.lang"
  else
    cp "$description" "$gen/$lang.lang"
  fi
  "$PARVOLEN" -q "--prefix=$prefix" "$gen/$lang.lang" "$gen" > "$gen/gen.txt" || { cat "$gen/gen.txt"; exit 1; }
  export TRANSLATOR_SOURCES="$prefix.c" TRANSLATOR_CFLAGS="-std=c99 -pedantic -Wall -Wextra -Werror"
else
  "$PARVOLEN" -q "$description" "$gen" > "$gen/gen.txt" || { cat "$gen/gen.txt"; exit 1; }
fi

# The expected outcome of every input, one "<folder>/<file> accept|reject" a line.
: > "$WORK_DIR/want.txt"
for folder in valid negative dialect; do
  [ -d "$inputs/$folder" ] || continue
  want=reject
  [ "$folder" = valid ] && want=accept
  for file in "$inputs/$folder"/*; do
    [ -f "$file" ] && echo "$folder/$(basename "$file") $want" >> "$WORK_DIR/want.txt"
  done
done
if [ -f "$inputs/limits/EXPECT" ] && [ -z "$prefix" ]; then
  while read -r file want; do
    [ -n "$file" ] && echo "limits/$file $want" >> "$WORK_DIR/want.txt"
  done < "$inputs/limits/EXPECT"
fi

fail=0
declare -A total=() right=()
while read -r path want; do
  folder=${path%%/*} name=${path#*/}
  total[$folder]=$(( ${total[$folder]:-0} + 1 ))
  if ! got=$(bash "$here/translator_run.sh" "$gen" "$main" "$inputs/$path"); then
    echo "$path: $got"
    fail=1
    continue
  fi
  case "$got" in
    "$name: accepted") outcome=accept ;;
    "$name":[0-9]*:[0-9]*": "*) [ -n "$prefix" ] && outcome=reject || outcome="unexpected output" ;;
    "$name":[0-9]*": Syntax error" | "$name":[0-9]*": Spelling error" | "$name":[0-9]*": Value too long")
      outcome=reject ;;
    *) outcome="unexpected output" ;;
  esac
  if [ "$outcome" = "$want" ]; then
    right[$folder]=$(( ${right[$folder]:-0} + 1 ))
  else
    echo "$path: want $want, got: $got"
    fail=1
  fi
done < "$WORK_DIR/want.txt"

for folder in valid negative dialect limits; do
  [ -n "${total[$folder]:-}" ] &&
    echo "$lang${prefix:+ --prefix${lookahead:+ (Lookahead $lookahead)}} $folder: ${right[$folder]:-0} of ${total[$folder]} as expected"
done
exit $fail
