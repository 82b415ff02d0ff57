#!/usr/bin/env bash
# Recovery of the embeddable translator of examples/pl0: a program with three mistakes (a ';'
# missing, '=' for ':=', ')' for ';') gets the three messages, each with its repair, from a file
# and from a pipe (a stream that cannot seek back); the first error and the status are those of a
# parse without recovery.
set -u
cd "$WORK_DIR" || exit 1
examples=$(cd "$CASE_DIR/../../../../examples" && pwd)
"$PARVOLEN" -q --prefix=pl0 "$examples/pl0/pl0.lang" . > generate.txt || { cat generate.txt; exit 1; }
cc -std=c99 -pedantic -Wall -Wextra -Werror -o errors errors.c pl0.c || exit 1
fail=0
cat > want.txt <<'WANT'
F:5:3: expected '*', '/', '+', '-', ';' or 'end', found 'while' (inserted ';')
F:7:7: expected ':=', found '=' (replaced by ':=')
F:8:19: expected '*', '/', '+', '-', ';' or 'end', found ')' (replaced by ';')
status 1, first: 5:3: expected '*', '/', '+', '-', ';' or 'end', found 'while'
WANT
./errors three.pl0 > file.txt && fail=1
sed 's/^F:/three.pl0:/' want.txt | cmp -s - file.txt || { echo "from the file:"; cat file.txt; fail=1; }
./errors - < <(cat three.pl0) > pipe.txt && fail=1
sed 's/^F:/-:/' want.txt | cmp -s - pipe.txt || { echo "from a pipe:"; cat pipe.txt; fail=1; }
exit $fail
