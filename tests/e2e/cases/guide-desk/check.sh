# Semantic actions with the value stack, output terminals and value printers: a desk calculator.
. "$CASE_DIR/../../guide_case.sh"
build main.c
translates '1 + 2;' '= 3'
translates '2 * (3 + 4) - 5; 10 - 2 - 3;
7;' '= 9
= 5
= 7'
accepts ''
rejects '1 + ;' 'in.txt:1: Syntax error'
exit $fail
