#!/usr/bin/env bash
# Runs two builds of the generator over the same descriptions and reports every difference in
# standard output, exit status, listing and generated files, and in parvolen-inspect's text and
# JSON reports when both builds have it. Standard error is where new diagnostics go, so it is
# compared only with COMPARE_STDERR=1.
#
# usage: tools/compare-generators.sh OLD_BIN_DIR NEW_BIN_DIR DESCRIPTION...
#   (or descriptions one per line on standard input when none are given)
# Environment: COMPARE_TIMEOUT seconds per run (default 60), COMPARE_JOBS parallel runs (default 2).
# Exit status 0 when nothing differs, 1 when something does; a run that times out on both sides
# counts as the same, one that times out on one side only is reported as a difference.
set -uo pipefail

old=$(cd "$1" && pwd) new=$(cd "$2" && pwd)
shift 2
timeout_s=${COMPARE_TIMEOUT:-60}
export COMPARE_STDERR=${COMPARE_STDERR:-0}
jobs=${COMPARE_JOBS:-2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Compares one description; prints "same PATH" or "DIFF PATH: what".
compare_one() {
  local desc=$1 old=$2 new=$3 work=$4 timeout_s=$5
  local dir
  dir=$(mktemp -d "$work/c.XXXXXX")
  local flags side
  for flags in "" "-q -s -T"; do
    for side in old new; do
      local bin=$old
      [ "$side" = new ] && bin=$new
      mkdir -p "$dir/$side/out"
      local err=/dev/null
      [ "$COMPARE_STDERR" = 1 ] && err=stderr
      (cd "$dir/$side" || exit
       timeout "$timeout_s" "$bin/parvolen" $flags "$desc" out -llisting >stdout 2>"$err"
       echo "$?" >status)
      if [ -x "$bin/parvolen-inspect" ] && [ -z "$flags" ]; then
        (cd "$dir/$side" || exit
         timeout "$timeout_s" "$bin/parvolen-inspect" "$desc" >inspect.txt 2>"$err"
         echo "$?" >>inspect.txt
         timeout "$timeout_s" "$bin/parvolen-inspect" --json "$desc" >inspect.json 2>"$err"
         echo "$?" >>inspect.json)
      fi
    done
    if ! diff -r "$dir/old" "$dir/new" >"$dir/diff" 2>&1; then
      echo "DIFF $desc (flags '$flags'): $(head -c 300 "$dir/diff" | tr '\n' ' ')"
      rm -rf "$dir"
      return
    fi
    rm -rf "$dir/old" "$dir/new"
  done
  echo "same $desc"
  rm -rf "$dir"
}
export -f compare_one

if [ $# -gt 0 ]; then printf '%s\n' "$@"; else cat; fi |
  while IFS= read -r f; do [ -n "$f" ] && realpath "$f"; done |
  xargs -d '\n' -P "$jobs" -I{} bash -c 'compare_one "$@"' _ {} "$old" "$new" "$work" "$timeout_s" >"$work/results"

same=$(grep -c '^same ' "$work/results")
diffs=$(grep -c '^DIFF ' "$work/results")
grep '^DIFF ' "$work/results"
echo "compared $((same + diffs)) descriptions: $same same, $diffs different"
[ "$diffs" -eq 0 ]
