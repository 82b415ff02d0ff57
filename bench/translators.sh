#!/usr/bin/env bash
# Translator benchmark: CPU time and peak memory of the translators that parvolen writes, beside
# recognisers of the same languages made with other generators, all built with -O2, on large
# generated inputs, measured side by side in this run. Two languages:
#   PL/0  the classic translator of examples/pl0 and the --prefix one (on a file, a stream and a
#         buffer), bison+flex, coco-cpp and pccts;
#   JSON  the --prefix translator of examples/json (exact JSON: file, stream, buffer) and
#         bison+flex (bench/peers/json.l, json.y).
# Each input also gets a floor row: a byte-at-a-time table walk over the file read into memory
# (bench/peers/floor.c), the cost of touching every byte once. Only the ratios mean something on
# a shared machine: the table gives each row's ratios to bison+flex and to the floor. Last, the
# CPU time of `parvolen --prefix` on a description with a large lexicon (bench/big_lexicon.py).
#
# usage: bench/translators.sh BUILD_DIR   (make bench-translators)
#   SIZES  input sizes of each language (default "10M 50M"),
#   BEST   runs per measurement, the best one counts (5)
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

# The --prefix translator of LANGUAGE (pl0 or json) from examples/LANGUAGE.
build_prefix() {
  local language=$1 folder=$2
  "$build/parvolen" -q --prefix="$language" "examples/$language/$language.lang" "$folder" &&
    cc -std=gnu11 -O2 -DPREFIX="$language" -I"$folder" -o "$work/bin/prefix-$language" \
      "$peers/prefix_main.c" "$folder/$language.c"
}

# bison+flex of LANGUAGE from bench/peers/LANGUAGE.y and .l, flex with default tables and -F.
build_bison_flex() {
  local language=$1
  (cd "$2" && bison -d -o "$language.tab.c" "$peers/$language.y" && flex -o lex.yy.c "$peers/$language.l" &&
    cc -O2 -o "$work/bin/bison-flex-$language" "$language.tab.c" lex.yy.c &&
    flex -F -o lex-fast.yy.c "$peers/$language.l" &&
    cc -O2 -o "$work/bin/bison-flex-F-$language" "$language.tab.c" lex-fast.yy.c)
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

build_floor() {
  cc -std=gnu11 -O2 -o "$work/bin/floor" "$peers/floor.c"
}

# Rows of the table: the language, a label and the command that reads the file appended to it.
# reference[LANGUAGE] and floor[LANGUAGE] are the rows that the ratios divide by.
languages=()
labels=()
commands=()
declare -A reference=() floor=()
add() {
  languages+=("$1")
  labels+=("$2")
  commands+=("$3")
}

# Builds with BUILDER into $work/NAME, passing on the further arguments before the folder.
try_build() {
  local name=$1 builder=$2
  shift 2
  mkdir -p "$work/$name"
  if "$builder" "$@" "$work/$name" >"$work/$name.log" 2>&1; then
    return 0
  fi
  echo "bench: cannot build the $name translator:" >&2
  tail -5 "$work/$name.log" | sed 's/^/  /' >&2
  return 1
}

# The --prefix rows of a language: a file, a stream, a buffer, and the buffer's read alone.
add_prefix() {
  local language=$1
  mkdir -p "$work/prefix-$language"
  if build_prefix "$language" "$work/prefix-$language" >"$work/prefix-$language.log" 2>&1; then
    add "$language" "parvolen --prefix file" "$work/bin/prefix-$language file"
    add "$language" "parvolen --prefix stream" "$work/bin/prefix-$language stream"
    add "$language" "parvolen --prefix buffer" "$work/bin/prefix-$language buffer"
    add "$language" "  (its read alone)" "$work/bin/prefix-$language read"
  elif grep -q "unknown option '--prefix" "$work/prefix-$language.log"; then
    echo "bench: this parvolen has no --prefix option yet: the --prefix rows of $language are skipped" >&2
  else
    echo "bench: cannot build the --prefix translator of $language, its rows are skipped:" >&2
    tail -5 "$work/prefix-$language.log" | sed 's/^/  /' >&2
  fi
}

add_bison_flex() {
  local language=$1
  if command -v bison >/dev/null && command -v flex >/dev/null &&
    try_build "bison-flex-$language" build_bison_flex "$language"; then
    reference[$language]=${#labels[@]}
    add "$language" "bison+flex" "$work/bin/bison-flex-$language"
    add "$language" "bison+flex -F" "$work/bin/bison-flex-F-$language"
  else
    echo "bench: bison or flex missing or not buildable: no bison+flex rows for $language, no ratios to it" >&2
  fi
}

try_build floor build_floor || exit 1

try_build classic build_classic || exit 1
add pl0 "parvolen classic" "$work/bin/classic"
add_prefix pl0
add_bison_flex pl0
if command -v cococpp >/dev/null && try_build coco build_coco; then
  add pl0 "coco-cpp" "$work/bin/coco"
else
  echo "bench: coco-cpp missing or not buildable: its row is skipped" >&2
fi
if command -v antlr >/dev/null && command -v dlg >/dev/null && try_build pccts build_pccts; then
  add pl0 "pccts" "$work/bin/pccts"
else
  echo "bench: pccts missing or not buildable: its row is skipped" >&2
fi
floor[pl0]=${#labels[@]}
add pl0 "floor (table walk)" "$work/bin/floor"

add_prefix json
add_bison_flex json
floor[json]=${#labels[@]}
add json "floor (table walk)" "$work/bin/floor"

# Documents that exact JSON rejects, beside the example's bad-* samples: a leading zero, an
# unknown escape, a raw control character, bytes that are no UTF-8 (a stray continuation, an
# overlong form, a byte that never occurs), a literal in the wrong case, a fraction without
# digits, nothing at all, and an unclosed array.
bad_json() {
  local dir=$work/bad-json
  mkdir -p "$dir"
  printf '[01]' >"$dir/bad-leading-zero.json"
  printf '["\\x41"]' >"$dir/bad-escape.json"
  printf '["a\tb"]' >"$dir/bad-control.json"
  printf '["\x80"]' >"$dir/bad-continuation.json"
  printf '["\xc0\xaf"]' >"$dir/bad-overlong.json"
  printf '["\xff"]' >"$dir/bad-byte.json"
  printf '[True]' >"$dir/bad-case.json"
  printf '[1.]' >"$dir/bad-fraction.json"
  : >"$dir/bad-empty.json"
  printf '{"a": [1, 2' >"$dir/bad-unclosed.json"
  printf '%s\n' "$dir"/*
}

# Every translator must accept a small generated input and the example's ok-* samples and reject
# its bad-* samples (and for JSON the documents above), or the rows would compare different
# languages. The floor and the read rows are no translators.
python3 bench/pl0_programs.py 20k "$work/small.pl0" --seed 7
python3 bench/json_documents.py 20k "$work/small.json" --seed 7
mapfile -t json_bad < <(bad_json)
wrong=0
for i in "${!labels[@]}"; do
  if [ "${commands[$i]##* }" = read ] || [ "$i" = "${floor[${languages[$i]}]}" ]; then
    continue
  fi
  case ${languages[$i]} in
    pl0) inputs=("$work/small.pl0" examples/pl0/samples/*) ;;
    json) inputs=("$work/small.json" examples/json/samples/* "${json_bad[@]}") ;;
  esac
  for input in "${inputs[@]}"; do
    want=0
    case $(basename "$input") in bad-*) want=1 ;; esac
    got=0
    ${commands[$i]} "$input" >/dev/null 2>&1 || got=$?
    if [ "$got" != "$want" ]; then
      echo "bench: ${labels[$i]} (${languages[$i]}) gives exit status $got for $input, not $want" >&2
      wrong=1
    fi
  done
done
[ "$wrong" = 0 ] || exit 1

# Prints the ratio of two measurements, or - when there is nothing to divide by.
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f\n", a / b; else print "-" }'
}

echo "CPU time (user + system) and peak memory of each translator, the best of ${BEST:-5} runs;"
echo "ratios to bison+flex of the same language, and of CPU time to the floor (a table walk over"
echo "every byte of the file read into memory). The buffer and floor rows include reading the file."
format='%-9s %-26s %8s %9s %6s %9s %9s %11s\n'
# shellcheck disable=SC2059
printf "$format" input translator cpu_s peak_kb status cpu_ratio mem_ratio floor_ratio
for size in $sizes; do
  for language in pl0 json; do
    input=$work/$language-$size.$language
    case $language in
      pl0) python3 bench/pl0_programs.py "$size" "$input" --seed 1 ;;
      json) python3 bench/json_documents.py "$size" "$input" --seed 1 ;;
    esac
    rows=()
    times=()
    peaks=()
    statuses=()
    for i in "${!labels[@]}"; do
      [ "${languages[$i]}" = "$language" ] || continue
      rows+=("$i")
      # The word splitting of the command is meant: it is a path and a mode without blanks.
      # shellcheck disable=SC2086
      read -r "times[$i]" "peaks[$i]" "statuses[$i]" < <(measure_best ${commands[$i]} "$input")
    done
    ref=${reference[$language]:-}
    low=${floor[$language]}
    for i in "${rows[@]}"; do
      cpu_ratio=- mem_ratio=-
      if [ -n "$ref" ]; then
        cpu_ratio=$(ratio "${times[$i]}" "${times[$ref]}")
        mem_ratio=$(ratio "${peaks[$i]}" "${peaks[$ref]}")
      fi
      # shellcheck disable=SC2059
      printf "$format" "$language-$size" "${labels[$i]}" "${times[$i]}" "${peaks[$i]}" "${statuses[$i]}" \
        "$cpu_ratio" "$mem_ratio" "$(ratio "${times[$i]}" "${times[$low]}")"
    done
    rm -f "$input"
  done
done

# Generation time: parvolen --prefix on a description with 1,000 keywords, 100 symbols and 50
# [Tokens] lines, which is meant to take at most a tenth of a second.
python3 bench/big_lexicon.py "$work/big.lang"
mkdir -p "$work/big"
read -r t kb st < <(measure_best "$build/parvolen" -q --prefix=big "$work/big.lang" "$work/big")
echo "generation: parvolen --prefix=big on 1000 keywords, 100 symbols, 50 [Tokens] lines:" \
  "cpu_s $t, peak_kb $kb, status $st (best of ${BEST:-5} runs; the aim is at most 0.1 s)"
