#!/usr/bin/env bash
# The embeddable translator of every bundled example (json, clike, ini and lua lex with [Tokens]):
# examples/NAME/run.sh --prefix succeeds; NAME.c and the example's embedded_main.c build
# warning-free as strict C99 with cc and clang, NAME.h also compiles as C++, and the runs over
# the samples print exactly embedded.expected (line, column and expected/found text of every
# rejection). The postfix example writes its
# output through NAME_set_output and must match its expected output.
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
examples=$(cd "$here/../../examples" && pwd)
strict="-std=c99 -pedantic -Wall -Wextra -Werror"
fail=0
: > "$WORK_DIR/actual"
for name in calc clike ini json lua oberon0 pl0 stmt; do
  if ! bash "$examples/$name/run.sh" "$PARVOLEN" --prefix > "$WORK_DIR/run-$name.txt" 2>&1; then
    echo "examples/$name/run.sh --prefix failed:"
    cat "$WORK_DIR/run-$name.txt"
    fail=1
    continue
  fi
  mkdir -p "$WORK_DIR/$name"
  "$PARVOLEN" -q "--prefix=$name" "$examples/$name/$name.lang" "$WORK_DIR/$name" > /dev/null || { fail=1; continue; }
  if command -v c++ > /dev/null &&
     ! echo "#include \"$name.h\"" | c++ -x c++ -fsyntax-only -Wall -Wextra -Werror -I"$WORK_DIR/$name" -; then
    echo "$name.h does not compile as C++"
    fail=1
  fi
  TRANSLATOR_SOURCES="$name.c" TRANSLATOR_CFLAGS="$strict" \
    bash "$here/translator_run.sh" "$WORK_DIR/$name" "$examples/$name/embedded_main.c" \
    "$examples/$name"/samples/* >> "$WORK_DIR/actual" || fail=1
done
if ! bash "$examples/postfix/run.sh" "$PARVOLEN" --prefix > "$WORK_DIR/run-postfix.txt" 2>&1; then
  echo "examples/postfix/run.sh --prefix failed:"
  cat "$WORK_DIR/run-postfix.txt"
  fail=1
fi
if ! cmp -s "$WORK_DIR/actual" "$CASE_DIR/embedded.expected"; then
  echo "embeddable translators' output differs:"
  diff "$WORK_DIR/actual" "$CASE_DIR/embedded.expected"
  fail=1
fi
exit $fail
