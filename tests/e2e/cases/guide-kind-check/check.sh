# The kind check: a choice between two nonterminals that begin alike fails (52); writing the
# alternatives out lets them share their beginning; a higher Lookahead passes the check, but the
# generated parser still decides on one terminal; indirect left recursion fails for any lookahead.
. "$CASE_DIR/../../guide_case.sh"
main=$CASE_DIR/../guide-calc/files/main.c

generates "$CASE_DIR/files/statements-shared.lang" 0
build "$main" "$generated"
accepts 'x := 1; f(); y := 2;'
rejects 'x := f();' 'in.txt:1: Syntax error'

sed 's/^Lookahead = 1$/Lookahead = 2/' "$CASE_DIR/files/statements.lang" > lookahead2.lang
generates lookahead2.lang 0
build "$main" "$generated"
rejects 'x := 1;' 'in.txt:1: Syntax error'

generates "$CASE_DIR/files/indirect.lang" 51 'Grammar is not kind for any lookahead.'
exit $fail
