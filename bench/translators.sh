#!/usr/bin/env bash
# Translator benchmark: CPU time and peak memory of the PL/0 translators that parvolen writes
# (the classic one of examples/pl0; the --prefix one on a file, a stream and a buffer) beside
# recognisers of the same grammar made with bison+flex, coco-cpp and pccts, all built with -O2,
# on large generated PL/0 programs, measured side by side in this run. Only the ratios mean
# something on a shared machine: the table gives each translator's ratios to bison+flex.
#
# usage: bench/translators.sh BUILD_DIR   (make bench-translators)
#   SIZES  input sizes (default "10M 50M"), BEST  runs per measurement, the best one counts (5)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
sizes=${SIZES:-10M 50M}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
peers=$PWD/bench/peers
mkdir -p "$work/bin"

source bench/lib.sh

bench_install /usr/bin/time=time bison=bison flex=flex cococpp=coco-cpp antlr=pccts dlg=pccts
[ -x /usr/bin/time ] || { echo "bench: needs /usr/bin/time (package time)" >&2; exit 1; }

# Each builder makes one translator in its own folder under $work and installs it as
# $work/bin/NAME; its tools' chatter goes to $work/NAME.log.
build_classic() {
  "$build/parvolen" -q examples/pl0/pl0.lang "$1" &&
    cc -std=gnu11 -O2 -I"$1" -o "$work/bin/classic" examples/pl0/main.c "$1"/_*.c
}

build_prefix() {
  "$build/parvolen" -q --prefix=pl0 examples/pl0/pl0.lang "$1" &&
    cc -std=gnu11 -O2 -I"$1" -o "$work/bin/prefix" "$peers/prefix_main.c" "$1"/pl0*.c
}

build_bison_flex() {
  (cd "$1" && bison -d -o pl0.tab.c "$peers/pl0.y" && flex -o lex.yy.c "$peers/pl0.l" &&
    cc -O2 -o "$work/bin/bison-flex" pl0.tab.c lex.yy.c &&
    flex -F -o lex-fast.yy.c "$peers/pl0.l" &&
    cc -O2 -o "$work/bin/bison-flex-F" pl0.tab.c lex-fast.yy.c)
}

build_coco() {
  (cd "$1" && cococpp "$peers/pl0.atg" -frames /usr/share/coco-cpp -o . &&
    c++ -O2 -w -I. -o "$work/bin/coco" "$peers/coco_main.cpp" Parser.cpp Scanner.cpp)
}

# antlr writes its C file beside the grammar, so the grammar is copied in first.
build_pccts() {
  (cd "$1" && cp "$peers/pl0.g" . && antlr pl0.g && dlg -ci -C2 parser.dlg scan.c &&
    cc -O2 -w -I/usr/include/pccts -o "$work/bin/pccts" pl0.c err.c scan.c)
}

# Rows of the table: a label and the command that parses the file appended to it.
labels=()
commands=()
add() {
  labels+=("$1")
  commands+=("$2")
}

try_build() {
  local name=$1 builder=$2
  mkdir -p "$work/$name"
  if "$builder" "$work/$name" >"$work/$name.log" 2>&1; then
    return 0
  fi
  echo "bench: cannot build the $name translator:" >&2
  tail -5 "$work/$name.log" | sed 's/^/  /' >&2
  return 1
}

try_build classic build_classic || exit 1
add "parvolen classic" "$work/bin/classic"
mkdir -p "$work/prefix"
if build_prefix "$work/prefix" >"$work/prefix.log" 2>&1; then
  add "parvolen --prefix file" "$work/bin/prefix file"
  add "parvolen --prefix stream" "$work/bin/prefix stream"
  add "parvolen --prefix buffer" "$work/bin/prefix buffer"
  add "  (its read alone)" "$work/bin/prefix read"
elif grep -q "unknown option '--prefix" "$work/prefix.log"; then
  echo "bench: this parvolen has no --prefix option yet: the --prefix rows are skipped" >&2
else
  echo "bench: cannot build the --prefix translator, its rows are skipped:" >&2
  tail -5 "$work/prefix.log" | sed 's/^/  /' >&2
fi
reference=
if command -v bison >/dev/null && command -v flex >/dev/null && try_build bison-flex build_bison_flex; then
  reference=${#labels[@]}
  add "bison+flex" "$work/bin/bison-flex"
  add "bison+flex -F" "$work/bin/bison-flex-F"
else
  echo "bench: bison or flex missing or not buildable: no bison+flex rows, no ratios" >&2
fi
if command -v cococpp >/dev/null && try_build coco build_coco; then
  add "coco-cpp" "$work/bin/coco"
else
  echo "bench: coco-cpp missing or not buildable: its row is skipped" >&2
fi
if command -v antlr >/dev/null && command -v dlg >/dev/null && try_build pccts build_pccts; then
  add "pccts" "$work/bin/pccts"
else
  echo "bench: pccts missing or not buildable: its row is skipped" >&2
fi

# Every translator must accept a small generated program and the example's ok-* samples and
# reject its bad-* samples, or the rows would compare different languages.
python3 bench/pl0_programs.py 20k "$work/small.pl0" --seed 7
wrong=0
for i in "${!labels[@]}"; do
  [ "${commands[$i]##* }" != read ] || continue
  for input in "$work/small.pl0" examples/pl0/samples/*; do
    want=0
    case $(basename "$input") in bad-*) want=1 ;; esac
    got=0
    ${commands[$i]} "$input" >/dev/null 2>&1 || got=$?
    if [ "$got" != "$want" ]; then
      echo "bench: ${labels[$i]} gives exit status $got for $input, not $want" >&2
      wrong=1
    fi
  done
done
[ "$wrong" = 0 ] || exit 1

echo "CPU time (user + system) and peak memory of each translator, the best of ${BEST:-5} runs;"
echo "ratios to bison+flex. The buffer row includes reading the file into memory."
printf '%-6s %-26s %8s %9s %6s %9s %9s\n' input translator cpu_s peak_kb status cpu_ratio mem_ratio
for size in $sizes; do
  input=$work/pl0-$size.pl0
  python3 bench/pl0_programs.py "$size" "$input" --seed 1
  times=()
  peaks=()
  statuses=()
  for i in "${!labels[@]}"; do
    # The word splitting of the command is meant: it is a path and a mode without blanks.
    # shellcheck disable=SC2086
    read -r t kb st < <(measure_best ${commands[$i]} "$input")
    times+=("$t")
    peaks+=("$kb")
    statuses+=("$st")
  done
  for i in "${!labels[@]}"; do
    ratios="- -"
    if [ -n "$reference" ]; then
      ratios=$(awk -v t="${times[$i]}" -v rt="${times[$reference]}" -v m="${peaks[$i]}" \
        -v rm="${peaks[$reference]}" 'BEGIN {
          c = "-"; r = "-"
          if (rt > 0) c = sprintf("%.2f", t / rt)
          if (rm > 0) r = sprintf("%.2f", m / rm)
          print c, r }')
    fi
    read -r cpu_ratio mem_ratio <<<"$ratios"
    printf '%-6s %-26s %8s %9s %6s %9s %9s\n' "$size" "${labels[$i]}" "${times[$i]}" "${peaks[$i]}" \
      "${statuses[$i]}" "$cpu_ratio" "$mem_ratio"
  done
  rm -f "$input"
done
