#!/usr/bin/env bash
# Generator benchmark: CPU time and peak memory of parvolen (and parvolen-inspect) on grammar
# families at n, 2n and 4n, the growth exponent between n and 4n, and the time of bison on the
# same large grammar, measured side by side in this run.
#
# usage: bench/run.sh BUILD_DIR   (make bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Peers and tools come from the distribution; install what is missing when we may.
missing=()
[ -x /usr/bin/time ] || missing+=(time)
command -v bison >/dev/null || missing+=(bison)
if [ ${#missing[@]} -gt 0 ] && [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
  echo "bench: installing ${missing[*]}" >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null 2>&1 ||
    { apt-get update >/dev/null 2>&1 && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null 2>&1; } ||
    echo "bench: could not install ${missing[*]}" >&2
fi
[ -x /usr/bin/time ] || { echo "bench: needs /usr/bin/time (package time)" >&2; exit 1; }

# Prints "seconds kilobytes status" of a command run REPEAT times (default 1): CPU time (user +
# system) per run, the peak memory of a run, the exit status of the last run.
measure() {
  local repeat=${REPEAT:-1}
  /usr/bin/time -o "$work/time" -f '%U %S %M' bash -c \
    'for ((i = 0; i < $0; i++)); do "$@" >/dev/null 2>&1; s=$?; done; exit $s' "$repeat" "$@" || true
  local st=0
  grep -q 'exited with non-zero status' "$work/time" && st=$(grep -o '[0-9]*$' <(head -1 "$work/time"))
  tail -1 "$work/time" | awk -v r="$repeat" -v s="$st" '{printf "%.4f %d %d\n", ($1 + $2) / r, $3, s}'
}

printf '%-12s %7s %8s %9s %7s %s\n' family n cpu_s peak_kb status tool
row() { printf '%-12s %7s %8s %9s %7s %s\n' "$@"; }

exponents=()
family() {
  local fam=$1 n=$2 times=()
  for m in "$n" $((2 * n)) $((4 * n)); do
    python3 bench/families.py "$fam" "$m" "$work/$fam-$m.lang"
    mkdir -p "$work/out"
    read -r t kb st < <(REPEAT=10 measure "$build/parvolen" -q "$work/$fam-$m.lang" "$work/out")
    row "$fam" "$m" "$t" "$kb" "$st" parvolen
    times+=("$t")
  done
  exponents+=("$fam $(awk -v a="${times[0]}" -v b="${times[2]}" \
    'BEGIN { if (a < 0.001) print "-  (below the clock at n)"; else printf "%.2f\n", log(b / a) / log(4) }')")
}

family wide 1000
family keywords 250
family chain-term 2000
family chain-empty 2000
family big 2000
family big-la2 2000

# Oberon-0 with its capacities raised, at every lookahead.
for k in 1 2 3 4 5; do
  python3 bench/families.py oberon0-k "$k" "$work/oberon0-$k.lang"
  read -r t kb st < <(REPEAT=3 measure timeout 600 "$build/parvolen" -q "$work/oberon0-$k.lang" "$work/out")
  row oberon0 "la=$k" "$t" "$kb" "$st" parvolen
done

# The large grammars: 10,000 and 50,000 productions, against bison on the same grammar.
python3 bench/families.py big 2000 "$work/big-10k.lang" --bison "$work/big-10k.y"
python3 bench/families.py big 10000 "$work/big-50k.lang" --bison "$work/big-50k.y"
for size in 10k 50k; do
  read -r t kb st < <(measure "$build/parvolen" -q "$work/big-$size.lang" "$work/out")
  row "big-$size" - "$t" "$kb" "$st" parvolen
  read -r ti kbi sti < <(measure "$build/parvolen-inspect" "$work/big-$size.lang")
  row "big-$size" - "$ti" "$kbi" "$sti" parvolen-inspect
  if command -v bison >/dev/null; then
    read -r tb kbb stb < <(measure bison -o "$work/big.c" "$work/big-$size.y")
    row "big-$size" - "$tb" "$kbb" "$stb" bison
    awk -v a="$t" -v b="$tb" -v s="$size" 'BEGIN { if (b > 0) printf "ratio to bison, big-%s: %.3f\n", s, a / b }'
  fi
done

echo
echo "growth exponent between n and 4n:"
printf '  %s\n' "${exponents[@]}"
