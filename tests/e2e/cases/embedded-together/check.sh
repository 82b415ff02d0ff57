#!/usr/bin/env bash
# Two embeddable translators (examples calc and pl0) link into one program that includes both
# headers and defines a global of its own named as one of the classic lexer's; every external
# symbol the translators define begins with its prefix. Two threads parse at once, under
# ThreadSanitizer where the compiler has it.
set -u
cd "$WORK_DIR" || exit 1
examples=$(cd "$CASE_DIR/../../../../examples" && pwd)
for name in calc pl0; do
  "$PARVOLEN" -q "--prefix=$name" "$examples/$name/$name.lang" . > "generate-$name.txt" || { cat "generate-$name.txt"; exit 1; }
  cc -std=c99 -pedantic -Wall -Wextra -Werror -c "$name.c" -o "$name.o" || exit 1
  # Defined external symbols (text, data, bss, read-only) that lack the prefix.
  stray=$(nm -g --defined-only "$name.o" | awk '{print $3}' | grep -v "^${name}_" || true)
  if [ -n "$stray" ]; then
    echo "$name.o defines external symbols outside its prefix:"
    echo "$stray"
    exit 1
  fi
done
cc -std=c99 -Wall -Wextra -Werror -pthread -o together together.c calc.o pl0.o || exit 1
./together || exit 1
if cc -std=c99 -fsanitize=thread -pthread -o together-tsan together.c calc.c pl0.c 2> /dev/null &&
   ./together-tsan > /dev/null 2> tsan.txt; then
  :
elif [ -x together-tsan ]; then
  # ThreadSanitizer cannot map its shadow memory on some kernels: only a report counts.
  if grep -q 'WARNING: ThreadSanitizer' tsan.txt; then
    cat tsan.txt
    exit 1
  fi
fi
exit 0
