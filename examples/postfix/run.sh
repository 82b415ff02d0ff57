#!/usr/bin/env bash
# Generates the postfix translator with its semantic code (-s), builds it with the C compiler
# and runs it on sample.txt; shows the output file and checks it against expected.txt.
# Usage: run.sh <path of the parvolen binary>
set -u
parvolen=${1:?usage: run.sh <path of the parvolen binary>}
here=$(cd "$(dirname "$0")" && pwd)
cc=${CC:-cc}
target=$(mktemp -d)
trap 'rm -rf "$target"' EXIT

echo "\$ parvolen -s postfix.lang <target>"
"$parvolen" -s "$here/postfix.lang" "$target" || exit
echo "\$ $cc -std=gnu11 -o postfix <target>/_*.c main.c"
"$cc" -std=gnu11 -I"$target" -o "$target/postfix" "$target"/_*.c "$here/main.c" || exit
echo "\$ postfix sample.txt output.txt"
"$target/postfix" "$here/sample.txt" "$target/output.txt" || exit
echo
echo "sample.txt:"
sed 's/^/    /' "$here/sample.txt"
echo "output.txt:"
sed 's/^/    /' "$target/output.txt"
if cmp -s "$target/output.txt" "$here/expected.txt"; then
  echo "The output is the expected one (expected.txt)."
else
  echo "The output differs from expected.txt:"
  diff -u "$here/expected.txt" "$target/output.txt"
  exit 1
fi
