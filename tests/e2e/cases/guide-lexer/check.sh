# What the generated lexer recognises: keywords, identifiers (kept in upper case, since the
# language is not case sensitive), numbers, string and character constants, and symbols that
# share their first character (the longest one wins).
. "$CASE_DIR/../../guide_case.sh"
build "$CASE_DIR/../guide-desk/files/main.c"
translates 'if Count <= 10 then
  say "big" <> x1 = '"'y'"' < 2' 'keyword if
identifier COUNT
symbol <=
number 10
keyword then
identifier SAY
string "big"
symbol <>
identifier X1
symbol =
character '"'y'"'
symbol <
number 2'
translates 'IF<=<<>' 'keyword if
symbol <=
symbol <
symbol <>'
rejects 'a # b' 'in.txt:1: Spelling error'
exit $fail
