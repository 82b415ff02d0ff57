#!/usr/bin/env bash
# The parvolen-inspect part of an end-to-end case, run by its check.sh in the work directory.
# Every inspect*.args file of the case is one run of $PARVOLEN_INSPECT with those arguments (split
# at blanks); its standard output must equal the .expected file of the same name, when there is
# one, and its exit status the .status file (0 when absent). Output asked for with --json must be
# valid JSON, and with --dot a graph that dot renders (each checked when the tool is installed),
# unless the run expects status 2, a command line that cannot be followed.
set -u
inspect=${PARVOLEN_INSPECT:?PARVOLEN_INSPECT names the parvolen-inspect binary}
fail=0
for args_file in "$CASE_DIR"/inspect*.args; do
  name=$(basename "$args_file" .args)
  args=$(cat "$args_file")
  # shellcheck disable=SC2086
  "$inspect" $args > "$name.out"
  status=$?
  want=0
  [ -f "$CASE_DIR/$name.status" ] && want=$(tr -d '[:space:]' < "$CASE_DIR/$name.status")
  if [ "$status" != "$want" ]; then
    echo "$name: exit status $status, want $want"
    fail=1
  fi
  if [ -f "$CASE_DIR/$name.expected" ] && ! cmp -s "$CASE_DIR/$name.expected" "$name.out"; then
    echo "$name: standard output differs:"
    diff -u "$CASE_DIR/$name.expected" "$name.out" | head -n 60
    fail=1
  fi
  # A command line that cannot be followed prints the usage text, not JSON or a graph.
  [ "$want" = 2 ] && continue
  case " $args " in
    *" --json "*)
      if command -v python3 > /dev/null; then
        python3 -c 'import json, sys; json.load(open(sys.argv[1], encoding="utf-8"))' "$name.out" \
          || { echo "$name: not valid JSON"; fail=1; }
      fi ;;
    *" --dot"*)
      if command -v dot > /dev/null; then
        dot -Tsvg "$name.out" > "$name.svg" || { echo "$name: dot cannot render the graph"; fail=1; }
      else
        echo "$name: dot is not installed; the graph was not rendered"
      fi ;;
  esac
done
exit $fail
