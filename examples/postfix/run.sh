#!/usr/bin/env bash
# Generates the postfix translator with its semantic code (-s), builds it with the C compiler
# and runs it on sample.txt; shows the output file and checks it against expected.txt. With
# --prefix it builds the embeddable translator instead, from embedded_main.c, as strict C99.
# Usage: run.sh <path of the parvolen binary> [--prefix]
set -u
parvolen=${1:?usage: run.sh <path of the parvolen binary> [--prefix]}
embedded=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
cc=${CC:-cc}
target=$(mktemp -d)
trap 'rm -rf "$target"' EXIT

if [ "$embedded" = --prefix ]; then
  echo "\$ parvolen -s --prefix=postfix postfix.lang <target>"
  "$parvolen" -s --prefix=postfix "$here/postfix.lang" "$target" || exit
  echo "\$ $cc -std=c99 -pedantic -Wall -Wextra -Werror -o postfix <target>/postfix.c embedded_main.c"
  "$cc" -std=c99 -pedantic -Wall -Wextra -Werror -I"$target" -o "$target/postfix" "$target/postfix.c" \
    "$here/embedded_main.c" || exit
else
  echo "\$ parvolen -s postfix.lang <target>"
  "$parvolen" -s "$here/postfix.lang" "$target" || exit
  echo "\$ $cc -std=gnu11 -o postfix <target>/_*.c main.c"
  "$cc" -std=gnu11 -I"$target" -o "$target/postfix" "$target"/_*.c "$here/main.c" || exit
fi
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
