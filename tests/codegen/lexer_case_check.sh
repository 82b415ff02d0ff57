#!/usr/bin/env bash
# The check of the lexer-* end-to-end cases (their check.sh runs it): builds and runs the lexer
# that parvolen generated in WORK_DIR over the case's in-*.txt files with lexer_run.sh, whose
# VALUED and END arguments stand in the case's lexer.args, and compares with lexer.expected.
set -u
here=$(cd "$(dirname "$0")" && pwd)
read -r valued end < "$CASE_DIR/lexer.args"
actual=$(bash "$here/lexer_run.sh" "$WORK_DIR" "$valued" "$end" "$WORK_DIR"/in-*.txt)
if [ "$actual" != "$(cat "$CASE_DIR/lexer.expected")" ]; then
  echo "generated lexer output differs:"
  diff <(printf '%s\n' "$actual") "$CASE_DIR/lexer.expected" | cat -A | head -n 60
  exit 1
fi
