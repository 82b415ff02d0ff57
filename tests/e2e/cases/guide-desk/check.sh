# Semantic actions with the value stack, output terminals and value printers: a desk calculator.
. "$CASE_DIR/../../guide_case.sh"
build main.c
same_headers
translates '1 + 2;' '= 3'
translates_file sample.txt "$CASE_DIR/sample.out"
accepts ''
rejects '1 + ;' 'in.txt:1: Syntax error'
exit $fail
