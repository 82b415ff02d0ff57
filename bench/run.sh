#!/usr/bin/env bash
# Generator benchmark: CPU time and peak memory of parvolen (and parvolen-inspect) on grammar
# families at n, 2n and 4n, the growth exponent between n and 4n, the cost of the grammar
# warnings (the default run against one with -w), and the time of bison on the same large
# grammar, measured side by side in this run.
#
# usage: bench/run.sh BUILD_DIR   (make bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source bench/lib.sh

# Peers and tools come from the distribution; install what is missing when we may.
bench_install /usr/bin/time=time bison=bison
[ -x /usr/bin/time ] || { echo "bench: needs /usr/bin/time (package time)" >&2; exit 1; }

printf '%-12s %7s %8s %9s %7s %s\n' family n cpu_s peak_kb status tool
row() { printf '%-12s %7s %8s %9s %7s %s\n' "$@"; }

exponents=()
ratios=()
# The default run (warnings on) against the -w run of the same description: the row of the -w
# run, then the ratio of their least CPU times when run in turn (at least 5 rounds), so that both
# meet the same disturbances of the machine; the ratio of the medians beside.
# usage: warnings_ratio LABEL REPEAT DESCRIPTION
warnings_ratio() {
  local tw kbw stw least_d least_w median_d median_w
  read -r tw kbw stw < <(REPEAT=$2 measure "$build/parvolen" -q -w "$3" "$work/out")
  row "${1% *}" "${1#* }" "$tw" "$kbw" "$stw" "parvolen -w"
  read -r least_d least_w median_d median_w < <(python3 bench/side_by_side.py "$(($2 < 5 ? 5 : $2))" \
    "$build/parvolen" -q "$3" "$work/out" -- "$build/parvolen" -q -w "$3" "$work/out")
  ratios+=("$1 $(awk -v a="$least_d" -v b="$least_w" -v c="$median_d" -v d="$median_w" \
    'BEGIN { printf "%.2f  (medians %.2f)\n", a / b, c / d }')")
}

family() {
  local fam=$1 n=$2 times=()
  for m in "$n" $((2 * n)) $((4 * n)); do
    python3 bench/families.py "$fam" "$m" "$work/$fam-$m.lang"
    mkdir -p "$work/out"
    read -r t kb st < <(REPEAT=10 measure "$build/parvolen" -q "$work/$fam-$m.lang" "$work/out")
    row "$fam" "$m" "$t" "$kb" "$st" parvolen
    warnings_ratio "$fam $m" 10 "$work/$fam-$m.lang"
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
  warnings_ratio "oberon0 la=$k" 3 "$work/oberon0-$k.lang"
done

# The large grammars: 10,000 and 50,000 productions, and 10,000 at lookahead 2, against bison on
# the same grammar.
python3 bench/families.py big 2000 "$work/big-10k.lang" --bison "$work/big-10k.y"
python3 bench/families.py big 10000 "$work/big-50k.lang" --bison "$work/big-50k.y"
python3 bench/families.py big-la2 2000 "$work/big-la2-10k.lang" --bison "$work/big-la2-10k.y"
for size in 10k 50k la2-10k; do
  read -r t kb st < <(measure "$build/parvolen" -q "$work/big-$size.lang" "$work/out")
  row "big-$size" - "$t" "$kb" "$st" parvolen
  warnings_ratio "big-$size -" 1 "$work/big-$size.lang"
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
echo
echo "default run (warnings on) against -w:"
printf '  %s\n' "${ratios[@]}"
