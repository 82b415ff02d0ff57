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
# usage: realworld_check.sh LANG DESCRIPTION MAIN   (with PARVOLEN and WORK_DIR set by run_case.sh)
set -u
here=$(cd "$(dirname "$0")" && pwd)
lang=$1 description=$2 main=$3
inputs=$here/../../../shared/realworld/$lang
if [ ! -d "$inputs" ]; then
  echo "SKIPPED: no real-world inputs for $lang (looked for shared/realworld/$lang beside the repository)"
  exit 77
fi
inputs=$(cd "$inputs" && pwd)

mkdir -p "$WORK_DIR/gen"
"$PARVOLEN" -q "$description" "$WORK_DIR/gen" > "$WORK_DIR/gen.txt" || { cat "$WORK_DIR/gen.txt"; exit 1; }

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
if [ -f "$inputs/limits/EXPECT" ]; then
  while read -r file want; do
    [ -n "$file" ] && echo "limits/$file $want" >> "$WORK_DIR/want.txt"
  done < "$inputs/limits/EXPECT"
fi

fail=0
declare -A total=() right=()
while read -r path want; do
  folder=${path%%/*} name=${path#*/}
  total[$folder]=$(( ${total[$folder]:-0} + 1 ))
  if ! got=$(bash "$here/translator_run.sh" "$WORK_DIR/gen" "$main" "$inputs/$path"); then
    echo "$path: $got"
    fail=1
    continue
  fi
  case "$got" in
    "$name: accepted") outcome=accept ;;
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
  [ -n "${total[$folder]:-}" ] && echo "$lang $folder: ${right[$folder]:-0} of ${total[$folder]} as expected"
done
exit $fail
