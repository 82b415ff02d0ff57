#!/usr/bin/env bash
# The embeddable translator of examples/postfix without -s: its actions are functions of the
# user's source (a missing one is a link error that names it), they read the terminal matched
# last and the user's pointer, and a non-zero return ends the parse with that status. With -T the
# routines report to the stream of postfix_set_trace.
set -u
cd "$WORK_DIR" || exit 1
examples=$(cd "$CASE_DIR/../../../../examples" && pwd)
"$PARVOLEN" -q -T --prefix=postfix "$examples/postfix/postfix.lang" . > generate.txt || { cat generate.txt; exit 1; }
strict="-std=c99 -pedantic -Wall -Wextra -Werror"
# shellcheck disable=SC2086
cc $strict -o actions actions.c postfix.c || exit 1
fail=0
./actions sample.txt trace.txt > out.txt || { cat out.txt; fail=1; }
printf '2 3 4 *+= 14 (line 1)\n2 3 +4 *= 20 (line 2)\n' > want.txt
cmp -s out.txt want.txt || { echo "output differs:"; diff out.txt want.txt; fail=1; }
grep -q -- '^-> Lines$' trace.txt && grep -q -- '^   Factor ->$' trace.txt || { echo "no trace"; fail=1; }
./actions bad.txt > bad.out && fail=1
grep -q "bad.txt:2:1: expected '\*', '+', '-' or ')', found end of input (status 1)" bad.out ||
  { echo "bad.txt:"; cat bad.out; fail=1; }
# The stack of the actions holds 64 values: a sum nested deeper ends with the actions' own status.
./actions deep.txt > deep.out && fail=1
grep -q "(status 100)" deep.out || { echo "deep.txt:"; cat deep.out; fail=1; }
# Without the definition of an action the link fails and names it.
sed 's/^int postfix_action_Mul(/static int unused_Mul(/' actions.c > missing.c
# shellcheck disable=SC2086
if cc -std=c99 -o missing missing.c postfix.c 2> link.txt; then
  echo "linked without postfix_action_Mul"
  fail=1
elif ! grep -q 'postfix_action_Mul' link.txt; then
  echo "the link error does not name postfix_action_Mul:"
  cat link.txt
  fail=1
fi
exit $fail
