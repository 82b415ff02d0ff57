#!/usr/bin/env bash
# The embeddable translator flushes and checks its output at the end of a parse: output to a
# full device is the WRITE status (8) for a small input, whose output fits in the stream's
# buffer, as for a large one, whose output overflows it; to a file, the same inputs are OK.
set -u
cd "$WORK_DIR" || exit 1
[ -w /dev/full ] || exit 77
examples=$(cd "$CASE_DIR/../../../../examples" && pwd)
"$PARVOLEN" -q -s --prefix=postfix "$examples/postfix/postfix.lang" . > generate.txt || { cat generate.txt; exit 1; }
cc -std=c99 -pedantic -Wall -Wextra -Werror -o full main.c postfix.c || exit 1
printf '1 + 2;\n' > small.txt
awk 'BEGIN { for (i = 0; i < 100000; i++) print "(2 + 3) * 4;" }' > large.txt
fail=0
for input in small large; do
  for out in /dev/full "$input.out"; do
    want=8
    [ "$out" = /dev/full ] || want=0
    got=$(./full "$input.txt" "$out")
    [ "$got" = "$want" ] || { echo "$input input, output to $out: status '$got', want $want"; fail=1; }
  done
done
[ "$(cat small.out)" = "1 2 + = 3" ] || { echo "small.out: $(cat small.out)"; fail=1; }
exit $fail
