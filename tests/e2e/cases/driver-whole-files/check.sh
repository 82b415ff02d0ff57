#!/usr/bin/env bash
# Generated files appear whole or not at all. A description whose _parser.c (about 56 KB) is
# the one file above a file size limit of 40 KB: when the write fails (SIGXFSZ ignored) the run
# ends with status 7 and its message, standard error names the file and the reason, the files
# completed before it are in place, and _parser.c keeps what it held before; when the signal
# stops the run instead, or SIGTERM does, no file is truncated either. No temporary file stays.
set -u
cd "$WORK_DIR" || exit 1
awk 'BEGIN {
  n = 600
  printf "[Language]\nStartingSymbol = P\nEofName = eoi\nLookahead = 1\nTerminals = %d\n", n + 1
  printf "Nonterminals = 2\nProductions = %d\nEdges = 100000\nViews = 100000\nNodes = 100000\n", n + 1
  printf "SymbNodes = 10\nKeywords = %d\n[Terminals]\n", n
  for (i = 1; i <= n; i++) printf "t%d\n", i
  printf "eoi\n[Nonterminals]\nP\nS\n[Productions]\nP ::= [S](eoi)\n"
  for (i = 1; i <= n; i++) printf "S ::= (t%d)\n", i
  printf "[Keywords]\n"
  for (i = 1; i <= n; i++) printf "t%d = t%d\n", i, i
}' > wide.lang
mkdir ref failed stopped termed
"$PARVOLEN" -q wide.lang ref > ref.out || { cat ref.out; exit 1; }
fail=0

# Every file under a final name is the complete one (or, for a file that the run was to
# replace, what it held before); only the named files may be missing; no temporary file is
# left. usage: check_dir DIR MISSING...
check_dir() {
  local dir=$1 f
  shift
  for f in ref/*; do
    f=${f#ref/}
    if [ -e "$dir/$f" ]; then
      cmp -s "ref/$f" "$dir/$f" || [ "$(cat "$dir/$f")" = previous ] || { echo "$dir/$f is truncated"; fail=1; }
    elif [[ " $* " != *" $f "* ]]; then
      echo "$dir/$f is missing"
      fail=1
    fi
  done
  if [ -n "$(find "$dir" -name '*.tmp')" ]; then
    echo "temporary files left in $dir:"
    find "$dir" -name '*.tmp'
    fail=1
  fi
}

echo previous > failed/_parser.c
(ulimit -f 40; trap '' XFSZ; exec "$PARVOLEN" -q wide.lang failed > failed.out 2> failed.err)
status=$?
[ "$status" = 7 ] || { echo "failed write: status $status, want 7"; fail=1; }
printf '\nError closing file.\n\n\n' | cmp -s - failed.out || { echo "failed write, standard output:"; cat failed.out; fail=1; }
grep -qx "parvolen: error: cannot write 'failed/_parser.c': File too large" failed.err ||
  { echo "failed write, standard error:"; cat failed.err; fail=1; }
check_dir failed _parser.c
[ "$(cat failed/_parser.c)" = previous ] || { echo "failed/_parser.c lost what it held"; fail=1; }

# (in a shell of its own, which reports the signal where nobody reads it)
bash -c 'ulimit -f 40; "$0" -q wide.lang stopped; exit $?' "$PARVOLEN" > /dev/null 2>&1
status=$?
[ "$status" = $((128 + $(kill -l XFSZ))) ] || { echo "stopped by SIGXFSZ: status $status"; fail=1; }
check_dir stopped _parser.c

# SIGTERM at the first moment a temporary file is seen (or after the run, if it was quicker).
"$PARVOLEN" -q wide.lang termed > /dev/null 2>&1 &
pid=$!
while ! compgen -G 'termed/.*.tmp' > /dev/null && kill -0 "$pid" 2> /dev/null; do :; done
kill -TERM "$pid" 2> /dev/null
wait "$pid"
check_dir termed _error.h _error.c _lexer.h _lexer.c _parser.h _parser.c
exit $fail
