# Lists and optional parts: the left-recursive list accepts every statement list, while the
# right-recursive one passes the kind check but its parser rejects an optional part that is
# left out before the end of the list.
. "$CASE_DIR/../../guide_case.sh"
main=$CASE_DIR/../guide-calc/files/main.c
build "$main"
accepts 'begin x y := 1 end'
accepts 'begin x end'
accepts 'begin end'
accepts 'BEGIN x := 1 y := 2 z END'

generates "$CASE_DIR/files/block-right.lang" 0
build "$main" "$generated"
accepts 'begin x y := 1 end'
rejects 'begin x end' 'in.txt:1: Syntax error'
exit $fail
