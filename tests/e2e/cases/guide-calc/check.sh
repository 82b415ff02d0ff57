# The first example of the guide and of the README: a recognizer for arithmetic expressions.
. "$CASE_DIR/../../guide_case.sh"
build main.c
same_headers
accepts '1 + 2 * (3 - 4) / 5'
accepts '(((7)))'
rejects '1 +' 'in.txt:2: Syntax error'
rejects '2 * (3 + 4' 'in.txt:2: Syntax error'
rejects '1 2' 'in.txt:1: Syntax error'
rejects '1 % 2' 'in.txt:1: Spelling error'
exit $fail
