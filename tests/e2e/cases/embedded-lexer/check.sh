#!/usr/bin/env bash
# Builds the embeddable translator of mini.lang (comments, identifier characters, constants,
# keywords in any case, no end-of-input terminal) with cases.c, under the address and undefined
# behaviour sanitizers where the compiler has them, and runs its table of inputs.
set -u
cd "$WORK_DIR" || exit 1
"$PARVOLEN" -q --prefix=mini mini.lang . > generate.txt || { cat generate.txt; exit 1; }
strict="-std=c99 -pedantic -Wall -Wextra -Werror"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all"
# shellcheck disable=SC2086
if ! cc $strict $sanitize -g -o cases cases.c mini.c 2> /dev/null; then
  sanitize=""
  cc $strict -g -o cases cases.c mini.c || exit 1
fi
ASAN_OPTIONS=detect_leaks=1 ./cases
