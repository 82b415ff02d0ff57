#!/usr/bin/env bash
# Memory stays bounded and running out of it is a status. At lookahead 5, sixty optional
# terminals in one production have about six million strings to tell apart: the lookahead
# computation stops at the view capacity (status 15, with what the description needs) within a
# limit of 1 GB of address space; and a run that does run out of memory ends with status 1 and
# its message rather than an abort, leaving no temporary file.
set -u
cd "$WORK_DIR" || exit 1
awk 'BEGIN {
  n = 60
  printf "[Language]\nStartingSymbol = S\nEofName = eoi\nLookahead = 5\nTerminals = 100\n"
  printf "Nonterminals = 100\nProductions = 200\nEdges = 100000\nViews = 100000\nNodes = 1000000\n"
  printf "SymbNodes = 1000\n[Terminals]\n"
  for (i = 0; i < n; i++) printf "t%d\n", i
  printf "eoi\n[Nonterminals]\nS\n"
  for (i = 0; i < n; i++) printf "N%d\n", i
  printf "[Productions]\nS ::= "
  for (i = 0; i < n; i++) printf "[N%d]", i
  printf "(eoi)\n"
  for (i = 0; i < n; i++) printf "N%d ::= (t%d)\nN%d ::=\n", i, i, i
}' > optional.lang
mkdir bounded starved
fail=0

# A build with sanitizers reserves terabytes of address space and cannot start under a limit.
if ! (ulimit -v 60000; exec "$PARVOLEN" --version > /dev/null 2>&1); then
  echo "the program does not start under a limit of address space (a sanitizer build): skipped"
  exit 77
fi

(ulimit -v 1000000; exec "$PARVOLEN" -q optional.lang bounded > bounded.out 2> bounded.err)
status=$?
[ "$status" = 15 ] || { echo "bounded: status $status, want 15"; cat bounded.err; fail=1; }
grep -q "Views = 100000 is too small" bounded.err || { echo "bounded, standard error:"; cat bounded.err; fail=1; }

# A description line of 30 MB under a limit of 60 MB: both programs run out of memory reading it.
{ printf '[Language]\nName = '; head -c 30000000 /dev/zero | tr '\0' a; printf '\n'; } > long.lang
(ulimit -v 60000; exec "$PARVOLEN" -q long.lang starved > starved.out 2> starved.err)
status=$?
[ "$status" = 1 ] || { echo "starved: status $status, want 1"; cat starved.err; fail=1; }
printf '\nMemory allocation error.\n\n\n' | cmp -s - starved.out || { echo "starved, standard output:"; cat starved.out; fail=1; }
grep -q "out of memory" starved.err || { echo "starved, standard error:"; cat starved.err; fail=1; }
if [ -n "${PARVOLEN_INSPECT:-}" ]; then
  (ulimit -v 60000; exec "$PARVOLEN_INSPECT" long.lang > inspect.out 2> inspect.err)
  status=$?
  [ "$status" = 1 ] || { echo "inspect starved: status $status, want 1"; cat inspect.err; fail=1; }
fi
if [ -n "$(find bounded starved -name '*.tmp')" ]; then
  echo "temporary files left"
  fail=1
fi
exit $fail
