#!/usr/bin/env bash
# Runs parvolen on the calculator description into a fresh directory and shows what it wrote.
# Usage: run.sh <path of the parvolen binary>
set -u
parvolen=${1:?usage: run.sh <path of the parvolen binary>}
here=$(cd "$(dirname "$0")" && pwd)
target=$(mktemp -d)
trap 'rm -rf "$target"' EXIT

echo "\$ parvolen calc.lang <target> -l<target>/calc.lst"
"$parvolen" "$here/calc.lang" "$target" "-l$target/calc.lst"
status=$?
echo "(exit status $status)"
echo
echo "Files written (lines, name):"
(cd "$target" && for f in *; do [ -f "$f" ] && printf '%6d  %s\n' "$(wc -l < "$f")" "$f"; done)
exit "$status"
