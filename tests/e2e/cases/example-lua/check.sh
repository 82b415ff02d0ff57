#!/usr/bin/env bash
# The Lua example. examples/lua/run.sh succeeds (every sample comes out as its name says), and
# the checker of lua.lang builds warning-free with cc -O2 as strict C99. Then, against luac5.1 -p
# (Debian's lua5.1; without it or python3 the rest is skipped with 77): on every sample and on
# token mutations of the ok-* samples (mutate.py), the checkers of lua.lang and lua-plain.lang
# give the same verdict, and it is luac's, except where luac applies a rule that is no part of
# the grammar: '...' outside a vararg function, and a '(' that begins a line after an expression
# that could be called (the checker reads a new statement there). The figures are printed.
set -u
example=$(cd "$CASE_DIR/../../../../examples/lua" && pwd)
if ! bash "$example/run.sh" "$PARVOLEN" > run.txt 2>&1; then
  echo "examples/lua/run.sh failed:"
  cat run.txt
  exit 1
fi
for lang in lua lua-plain; do
  mkdir -p "gen-$lang"
  "$PARVOLEN" -q -w --prefix=lua "$example/$lang.lang" "gen-$lang" > "gen-$lang.txt" 2>&1 || { cat "gen-$lang.txt"; exit 1; }
done
cc -std=c99 -pedantic -Wall -Wextra -Werror -O2 -Igen-lua -o check "$example/embedded_main.c" gen-lua/lua.c || exit 1
cc -std=c99 -Igen-lua-plain -o check-plain "$example/embedded_main.c" gen-lua-plain/lua.c || exit 1

if ! command -v luac5.1 > /dev/null || ! command -v python3 > /dev/null; then
  echo "luac5.1 or python3 is missing: no comparison"
  exit 77
fi
mkdir -p mutants
python3 "$CASE_DIR/mutate.py" mutants 40 "$example"/samples/ok-*.lua || exit 1
fail=0 total=0 accepted=0 agreed=0 known=0
for file in "$example"/samples/*.lua mutants/*.lua; do
  total=$((total + 1))
  luac5.1 -p "$file" > /dev/null 2> luac.txt
  luac=$?
  ./check "$file" > ours.txt
  ours=$?
  ./check-plain "$file" > /dev/null
  plain=$?
  [ "$luac" = 0 ] && accepted=$((accepted + 1))
  if [ "$ours" != "$plain" ]; then
    echo "$file: lua.lang gives $ours, lua-plain.lang $plain"
    fail=1
  elif [ $((luac == 0)) = $((ours == 0)) ]; then
    agreed=$((agreed + 1))
  elif [ "$ours" = 0 ] && grep -qe "outside a vararg function" -e "ambiguous syntax" luac.txt; then
    known=$((known + 1))
  else
    echo "$file: luac5.1 -p exits with $luac, the checker with $ours:"
    cat luac.txt ours.txt
    fail=1
  fi
done
echo "$total programs, $accepted of them valid: the checker agrees with luac5.1 on $agreed, $known differ by a rule outside the grammar"
exit $fail
