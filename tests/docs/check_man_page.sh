#!/usr/bin/env bash
# Checks that the man page formats without warnings and renders with man -l, with the sections
# a reader looks for. Exits 77 (skipped) on a machine without groff and man.
set -u
page=$1
if ! command -v groff > /dev/null || ! command -v man > /dev/null; then
  echo "SKIP: groff or man is not installed"
  exit 77
fi
warnings=$(groff -man -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
  echo "groff warnings:"
  echo "$warnings"
  exit 1
fi
text=$(MANWIDTH=80 man -l "$page" 2>&1) || { echo "$text"; exit 1; }
fail=0
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES 'EXIT STATUS' EXAMPLES; do
  if ! grep -q "^$section\$" <<< "$text"; then
    echo "missing section: $section"
    fail=1
  fi
done
for generated in _error.c _lexer.c _actions.c _writer.c _parser.c; do
  grep -q "$generated" <<< "$text" || { echo "the page does not name $generated"; fail=1; }
done
exit $fail
