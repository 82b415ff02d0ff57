#!/usr/bin/env bash
# The check of the example-* end-to-end cases: examples/NAME/run.sh (what `make run` calls) must
# end with status 0, every sample having come out as its name says; then the translator built
# with cc and clang from the example's description and main.c must print, over the samples,
# exactly the case's example.expected.
# usage: example_check.sh NAME   (with PARVOLEN, CASE_DIR and WORK_DIR set by run_case.sh)
set -u
here=$(cd "$(dirname "$0")" && pwd)
example=$(cd "$here/../../examples/$1" && pwd) || exit 1

if ! bash "$example/run.sh" "$PARVOLEN" > "$WORK_DIR/run.txt" 2>&1; then
  echo "examples/$1/run.sh failed:"
  cat "$WORK_DIR/run.txt"
  exit 1
fi

mkdir -p "$WORK_DIR/gen"
"$PARVOLEN" -q "$example/$1.lang" "$WORK_DIR/gen" > "$WORK_DIR/gen.txt" || { cat "$WORK_DIR/gen.txt"; exit 1; }
actual=$(bash "$here/translator_run.sh" "$WORK_DIR/gen" "$example/main.c" "$example"/samples/*)
if [ "$actual" != "$(cat "$CASE_DIR/example.expected")" ]; then
  echo "example translator output differs:"
  diff <(printf '%s\n' "$actual") "$CASE_DIR/example.expected" | cat -A | head -n 60
  exit 1
fi
