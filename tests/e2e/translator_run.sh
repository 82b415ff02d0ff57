#!/usr/bin/env bash
# Builds the translator that parvolen generated in GENDIR (every _*.c there) with the C file
# MAIN, with cc and with clang when present (unless that build is there already), runs it once per INPUT from the input's own
# directory and prints what it prints; both builds must print the same. An input whose run
# neither accepts (exit 0) nor rejects (exit 1), a crash for instance, is reported and fails.
# TRANSLATOR_SOURCES (a pattern in GENDIR, default _*.c) and TRANSLATOR_CFLAGS choose what is
# built and how, for the embeddable translator (NAME.c, strict C99).
# usage: translator_run.sh GENDIR MAIN INPUT...
set -u
gen=$(cd "$1" && pwd) || exit 2
main=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
shift 2

compilers=()
for compiler in cc clang; do
  command -v "$compiler" > /dev/null && compilers+=("$compiler")
done
# shellcheck disable=SC2206
sources=("$gen"/${TRANSLATOR_SOURCES:-_*.c})
read -r -a cflags <<< "${TRANSLATOR_CFLAGS:--std=gnu11 -Werror=implicit-function-declaration}"
for compiler in "${compilers[@]}"; do
  # A build newer than every source is reused, so that many calls on one GENDIR build once.
  fresh=1
  for source in "$main" "${sources[@]}"; do
    [ "$gen/translator_$compiler" -nt "$source" ] || fresh=0
  done
  [ "$fresh" = 1 ] && continue
  if ! "$compiler" "${cflags[@]}" -I"$gen" -o "$gen/translator_$compiler" \
      "$main" "${sources[@]}" 2> "$gen/compile_$compiler.txt"; then
    echo "compile failed with $compiler:"
    cat "$gen/compile_$compiler.txt"
    exit 3
  fi
done

fail=0
for input in "$@"; do
  dir=$(dirname "$input") name=$(basename "$input")
  for compiler in "${compilers[@]}"; do
    # A recursive-descent parser needs stack in proportion to the nesting of its input: deeply
    # nested inputs (100000 open brackets) get 1 GB, or as much as the hard limit allows.
    (ulimit -s 1048576 2> /dev/null || ulimit -s "$(ulimit -H -s)"
     cd "$dir" && "$gen/translator_$compiler" "$name") > "$gen/run_$compiler.txt" 2>&1
    status=$?
    if [ "$status" != 0 ] && [ "$status" != 1 ]; then
      echo "$name: exit status $status with $compiler"
      fail=1
    fi
  done
  if [ ${#compilers[@]} -gt 1 ] && ! cmp -s "$gen/run_${compilers[0]}.txt" "$gen/run_${compilers[1]}.txt"; then
    echo "$name: runs differ between ${compilers[0]} and ${compilers[1]}"
    diff "$gen/run_${compilers[0]}.txt" "$gen/run_${compilers[1]}.txt"
    fail=1
  fi
  cat "$gen/run_${compilers[0]}.txt"
done
exit $fail
