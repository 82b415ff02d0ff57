#!/usr/bin/env bash
# A right-recursive list of 1,000,000 names parses at the default nesting limit, and at a limit
# of 2 (Program and Items), since the call of Items in tail position is a jump; the action and
# the output terminals write in the order of the input. The trace of a short list is the one the
# nested calls would print: an entry per item and as many returns.
set -u
cd "$WORK_DIR" || exit 1
cc -std=c99 -pedantic -Wall -Wextra -Werror -o list main.c lst.c || exit 1
fail=0
awk 'BEGIN { for (i = 1; i <= 1000000; i++) printf "n%d%s\n", i, i % 3 == 0 ? "," : ";" }' > long.txt
awk 'BEGIN { for (i = 1; i <= 1000000; i++) printf "n%d .%s", i, i % 3 == 0 ? "|" : "" }' > long.want
for limit in "" 2; do
  args=(long.txt)
  [ -n "$limit" ] && args=(long.txt /dev/null "$limit")
  ./list "${args[@]}" > long.out 2> long.err
  if [ "$(cat long.err)" != "status 0" ] || ! cmp -s long.out long.want; then
    echo "1,000,000 items (limit '${limit:-default}'): $(cat long.err)"
    cmp long.out long.want | head -n 3
    fail=1
  fi
done
# Three items, then none: a limit of 1 is too deep for Program's call of Items.
printf 'a; b, c;\n' > short.txt
./list short.txt short.trace > short.out 2> short.err
printf -- '-> Program\n-> Items\n-> Items\n-> Items\n-> Items\n   Items ->\n   Items ->\n   Items ->\n   Items ->\n   Program ->\n' > short.want
cmp -s short.trace short.want || { echo "trace differs:"; diff short.want short.trace; fail=1; }
[ "$(cat short.out)" = "a .b .|c ." ] || { echo "output: $(cat short.out)"; fail=1; }
./list short.txt /dev/null 1 > /dev/null 2> deep.err
grep -q "^status 5$" deep.err || { echo "limit 1: $(cat deep.err)"; fail=1; }
exit $fail
