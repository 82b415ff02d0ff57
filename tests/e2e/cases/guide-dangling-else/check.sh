# The dangling else: two productions that share their beginning, with Extended = yes, bind each
# else to the nearest if. Without Extended the choice is a conflict (52); with the else part as
# an empty-able nonterminal of its own no lookahead helps (51).
. "$CASE_DIR/../../guide_case.sh"
build "$CASE_DIR/../guide-desk/files/main.c"
translates 'if c then s' 'if(c){s}'
translates 'if c then s else s' 'if(c){s}else{s}'
translates 'if c then if c then s else s' 'if(c){if(c){s}else{s}}'
translates 'if c then if c then s else s else s' 'if(c){if(c){s}else{s}}else{s}'
rejects 'if c then s else' 'in.txt:2: Syntax error'

sed 's/^Extended = yes$/Extended = no/' "$CASE_DIR/files/ifelse.lang" > not-extended.lang
generates not-extended.lang 52 'Grammar is not kind for given lookahead.'
generates "$CASE_DIR/files/ifelse-else-nonterminal.lang" 51 'Grammar is not kind for any lookahead.'
exit $fail
