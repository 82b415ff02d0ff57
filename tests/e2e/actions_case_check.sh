#!/usr/bin/env bash
# Compiles the translator generated in the work directory with every C compiler at hand (gcc
# and clang) and, when the case has a directory translated/, runs it on each input file.
#
# The check of the actions-* end-to-end cases (their check.sh runs it; run_case.sh sets CASE_DIR
# and WORK_DIR). Without _parser.c only the generated modules are compiled. With it, the
# translator is linked with output_translator_main.c and run as
# `translator in-NAME.txt out-NAME.txt` for each in-*.txt of the work directory; its
# standard output (the message of the final ErrCode) and its output file are compared with
# translated/NAME.stdout and translated/out-NAME.txt when those exist.
set -u
here=$(cd "$(dirname "$0")" && pwd)
cd "$WORK_DIR" || exit 1
flags=(-std=gnu11 -Werror=implicit-function-declaration)
fail=0
compilers=()
for cc in gcc clang; do command -v "$cc" > /dev/null && compilers+=("$cc"); done
[ ${#compilers[@]} -gt 0 ] || { echo "no C compiler"; exit 1; }

for cc in "${compilers[@]}"; do
  if [ ! -f _parser.c ]; then
    for src in _*.c; do
      "$cc" "${flags[@]}" -c "$src" -o "/dev/null" || { echo "$cc: $src does not compile"; fail=1; }
    done
    continue
  fi
  defs=()
  [ -f _writer.c ] && defs+=(-DHAS_OUTPUT)
  "$cc" "${flags[@]}" "${defs[@]}" -I. -o "translator-$cc" _*.c "$here/output_translator_main.c" ||
    { echo "$cc: the translator does not build"; fail=1; continue; }
  [ -d "$CASE_DIR/translated" ] || continue
  for input in in-*.txt; do
    [ -f "$input" ] || continue
    name=${input#in-}
    name=${name%.txt}
    rm -f "out-$name.txt"
    "./translator-$cc" "$input" "out-$name.txt" > "$name.stdout"
    for want in "$CASE_DIR/translated/$name.stdout" "$CASE_DIR/translated/out-$name.txt"; do
      [ -f "$want" ] || continue
      got=$(basename "$want")
      if ! cmp -s "$want" "$got"; then
        echo "$cc: $got differs:"
        diff -u "$want" "$got" | cat -A | head -n 40
        fail=1
      fi
    done
  done
  # A translator with output terminals must close its input when the output can't be created:
  # after many such failures under a small limit of open files, in-ok.txt still translates.
  if [ -f _writer.c ] && [ -f in-ok.txt ] && [ -f "$CASE_DIR/translated/ok.stdout" ]; then
    "./translator-$cc" --unwritable in-ok.txt out-ok-again.txt > ok-again.stdout
    cmp -s "$CASE_DIR/translated/ok.stdout" ok-again.stdout ||
      { echo "$cc: after failed output opens: $(cat ok-again.stdout)"; fail=1; }
  fi
done
exit $fail
