#!/usr/bin/env bash
# Replays the corpus of every fuzz target, then fuzzes each target for a bounded time, one process
# at a time. Fails on the first crash, hang, leak or sanitizer report; the input that caused it is
# left in BUILD/fuzz/artifacts/.
# usage: fuzz/run.sh BUILD SECONDS [TARGET...]
#   BUILD    the fuzz build directory (make build-fuzz)
#   SECONDS  fuzzing time per target; 0 only replays the corpus
#   TARGET   generator, the name of a language of fuzz/languages, or that name with -embedded
#            (its embeddable translator; the only one of a language with [Tokens]); all of them
#            when none given
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
seconds=$2
shift 2
work=$build/fuzz/work
mkdir -p "$work" "$build/fuzz/artifacts"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(generator)
  for lang in "$repo"/fuzz/languages/*.lang; do
    grep -q '^\[Tokens\]' "$lang" || targets+=("$(basename "$lang" .lang)")
    targets+=("$(basename "$lang" .lang)-embedded")
  done
fi

# Limits of every run: a description may ask for huge tables, which must fail with status 1
# (the generator target lets the allocator refuse blocks over 1 GiB); 2 GiB of memory at most and
# 20 seconds per input under the sanitizers.
common=(-rss_limit_mb=2048 -malloc_limit_mb=2048 -timeout=20 -print_final_stats=1)

# The seeds of the generator: every description of tests/, examples/ and fuzz/languages/, each
# behind an options byte asking for -s and -T, and again with --prefix as well.
gather_descriptions() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$dir"
  local n=0
  while IFS= read -r -d '' lang; do
    n=$((n + 1))
    { printf '\003'; cat "$lang"; } > "$dir/$(printf '%03d' "$n")-$(basename "$lang")"
    { printf '\007'; cat "$lang"; } > "$dir/$(printf '%03d' "$n")-prefix-$(basename "$lang")"
  done < <(find "$repo/tests" "$repo/examples" "$repo/fuzz/languages" -name '*.lang' -type f -print0 | sort -z)
}

# A dictionary of the keyword and symbol shapes of a language, made from its description.
language_dictionary() {
  awk '
    /^\[/ { section = $0; next }
    section == "[Keywords]" || section == "[Symbols]" {
      i = index($0, "="); if (i == 0) next
      shape = substr($0, i + 1); gsub(/^[ \t]+|[ \t\r]+$/, "", shape)
      gsub(/\\/, "\\\\", shape); gsub(/"/, "\\\"", shape)
      if (shape != "") printf "\"%s\"\n", shape
    }' "$1"
}

run_target() {
  local name=$1 binary options corpora dict
  if [ "$name" = generator ]; then
    binary=$build/fuzz/generator_fuzz
    gather_descriptions "$build/fuzz/seeds/generator"
    corpora=("$repo/fuzz/corpus/generator" "$build/fuzz/seeds/generator")
    dict=$repo/fuzz/generator.dict
    # The generator prints its messages to standard output: keep them out of the log. Some
    # descriptions take a second under the sanitizers (the Lua grammars with --prefix, the
    # largest [Tokens] sections) where most take milliseconds: the power schedule weighs each
    # input by its speed too, so the slow ones stay in the corpus and are still mutated, less often.
    options=(-close_fd_mask=1 -entropic_scale_per_exec_time=1)
  else
    # An embeddable translator shares its language's corpus and dictionary.
    local lang=${name%-embedded} kind=""
    [ "$lang" = "$name" ] || kind=_embedded
    binary=$build/fuzz/translator_${lang}${kind}_fuzz
    corpora=("$repo/fuzz/corpus/$lang")
    dict=$build/fuzz/seeds/$lang.dict
    mkdir -p "$build/fuzz/seeds"
    language_dictionary "$repo/fuzz/languages/$lang.lang" > "$dict"
    # Room for the 10,000-character words and endless constants of the corpus.
    options=(-max_len=16384)
  fi
  [ -x "$binary" ] || { echo "fuzz/run.sh: $binary is missing (make build-fuzz)" >&2; exit 1; }
  local dir present=()
  for dir in "${corpora[@]}"; do [ -d "$dir" ] && present+=("$dir"); done
  corpora=("${present[@]}")
  local artifacts=$build/fuzz/artifacts/$name-

  echo "== $name: replaying the corpus"
  local files=()
  while IFS= read -r -d '' f; do files+=("$f"); done < <(find "${corpora[@]}" -type f -print0 | sort -z)
  "$binary" "${common[@]}" "${options[@]}" -artifact_prefix="$artifacts" -runs=1 "${files[@]}" \
    > "$build/fuzz/$name-replay.log" 2>&1 ||
    { tail -n 60 "$build/fuzz/$name-replay.log"; echo "== $name: replay FAILED"; exit 1; }
  echo "== $name: ${#files[@]} inputs replayed"

  [ "$seconds" -gt 0 ] || return 0
  echo "== $name: fuzzing for $seconds s"
  mkdir -p "$work/$name"
  "$binary" "${common[@]}" "${options[@]}" -dict="$dict" -artifact_prefix="$artifacts" \
    -max_total_time="$seconds" "$work/$name" "${corpora[@]}" > "$build/fuzz/$name-fuzz.log" 2>&1 ||
    { tail -n 80 "$build/fuzz/$name-fuzz.log"; echo "== $name: fuzzing FAILED"; exit 1; }
  grep -E '^(#[0-9]+.*(DONE|INITED)|stat::)' "$build/fuzz/$name-fuzz.log" | sed "s/^/   /"
}

for target in "${targets[@]}"; do run_target "$target"; done
echo "fuzz: ${#targets[@]} passed, 0 failed"
