#!/usr/bin/env bash
# The check of the parser-* end-to-end cases (their check.sh runs it): the translator that
# parvolen generated in WORK_DIR, built with translator_main.c and run over the case's in-*
# files, must print exactly the case's parser.expected.
set -u
here=$(cd "$(dirname "$0")" && pwd)
actual=$(bash "$here/translator_run.sh" "$WORK_DIR" "$here/translator_main.c" "$WORK_DIR"/in-*)
if [ "$actual" != "$(cat "$CASE_DIR/parser.expected")" ]; then
  echo "generated translator output differs:"
  diff <(printf '%s\n' "$actual") "$CASE_DIR/parser.expected" | cat -A | head -n 60
  exit 1
fi
