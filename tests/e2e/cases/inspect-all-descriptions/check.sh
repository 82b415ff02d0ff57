# parvolen-inspect on every description under examples/ and tests/: each run (text, --json,
# --dot and --html) takes well under a second of processor time; the first three end with the
# status that parvolen ends with on the same file, and a failing one names the same failure as
# parvolen's final line. The JSON must parse and the graph must render (each checked when
# python3 or dot is installed); the HTML page (read as --prefix reads) must be written whole.
set -u
inspect=${PARVOLEN_INSPECT:?PARVOLEN_INSPECT names the parvolen-inspect binary}
root=$(cd "$CASE_DIR/../../../.." && pwd)
limit=0.9
fail=0
count=0
TIMEFORMAT='%U %S'
# A build with sanitizers (which cannot start under a limit of address space) runs many times
# slower: its processor time says nothing, so only the statuses and outputs are checked there.
timed=1
(ulimit -v 200000; exec "$inspect" --version > /dev/null 2>&1) || timed=0
while IFS= read -r -d '' file; do
  count=$((count + 1))
  rm -rf gen && mkdir gen
  "$PARVOLEN" -q "$file" gen > parvolen.out
  want=$?
  for mode in text --json --dot --html; do
    args=("$file")
    [ "$mode" = text ] || args=("$mode" "$file")
    [ "$mode" = --html ] && rm -f page.html && args=(--html=page.html "$file")
    { time "$inspect" "${args[@]}" > inspect.out 2> inspect.err; } 2> time.txt
    got=$?
    if [ "$mode" != --html ] && [ "$got" != "$want" ]; then
      echo "$file ($mode): exit status $got, parvolen ends with $want"
      fail=1
    fi
    if [ "$timed" = 1 ] && ! awk -v limit="$limit" '{ exit !($1 + $2 < limit) }' time.txt; then
      echo "$file ($mode): took $(cat time.txt) seconds of processor time"
      fail=1
    fi
    case $mode in
      text)
        if [ "$want" != 0 ]; then
          message=$(grep -v '^$' parvolen.out | tail -n 1)
          grep -qxF "$message" inspect.out || { echo "$file: inspect does not name the failure '$message'"; fail=1; }
        fi ;;
      --json) cp inspect.out "json-$count.out" ;;
      --html)
        if [ "$got" = 6 ] || ! [ -f page.html ] || [ "$(tail -n 1 page.html)" != "</html>" ]; then
          echo "$file (--html): status $got, no whole page written"
          fail=1
        fi ;;
      --dot)
        if command -v dot > /dev/null; then
          dot -Tsvg inspect.out > inspect.svg 2> dot.err || { echo "$file: dot cannot render the graph"; cat dot.err; fail=1; }
        fi ;;
    esac
  done
done < <(find "$root/examples" "$root/tests" -name '*.lang' -type f -print0 | sort -z)
[ "$count" -gt 0 ] || { echo "no description found under $root"; fail=1; }
if command -v python3 > /dev/null; then
  python3 - json-*.out <<'PY' || fail=1
import json, sys
bad = 0
for name in sys.argv[1:]:
    try:
        json.load(open(name, encoding="utf-8"))
    except ValueError as error:
        print(name, "is not valid JSON:", error)
        bad = 1
sys.exit(bad)
PY
fi
exit $fail
