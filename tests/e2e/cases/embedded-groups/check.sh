# Lists, optional parts and a preferred else, written with groups: the embeddable translator
# accepts every line of sentences.txt and rejects every line of non-sentences.txt, and its
# C writes the list of statements as a loop.
set -u
cd "$WORK_DIR" || exit 1
here="$CASE_DIR/../.."
cc -std=c99 -pedantic -Wall -Wextra -Werror -DPREFIX=groups '-DHEADER="groups.h"' -I. -o lines \
  "$here/embedded_lines_main.c" groups.c || exit 1
fail=0
./lines sentences.txt > sentences.verdicts || exit 1
./lines non-sentences.txt > non-sentences.verdicts || exit 1
if grep -qv '^1$' sentences.verdicts; then echo "a sentence was rejected:"; paste sentences.verdicts sentences.txt; fail=1; fi
if grep -qv '^0 ' non-sentences.verdicts; then echo "a non-sentence was accepted:"; paste non-sentences.verdicts non-sentences.txt; fail=1; fi
# The list of a chunk's statements is one loop: a routine entered once whatever its length.
if ! grep -q 'for  ( ;; )' groups.c || [ "$(grep -c 'static int Nont_Chunk_list1(Parser \*p) {' groups.c)" != 1 ]; then
  echo "no loop for the list of statements"; fail=1
fi
exit $fail
