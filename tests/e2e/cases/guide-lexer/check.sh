# What the generated lexer recognises: keywords, identifiers (kept in upper case, since the
# language is not case sensitive), numbers, string and character constants, and symbols that
# share their first character (the longest one wins).
. "$CASE_DIR/../../guide_case.sh"
build "$CASE_DIR/../guide-desk/files/main.c"
translates_file sample.txt "$CASE_DIR/sample.out"
translates 'IF<=<<>' 'keyword if
symbol <=
symbol <
symbol <>'
rejects 'a # b' 'in.txt:1: Spelling error'
exit $fail
