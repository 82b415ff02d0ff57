#!/usr/bin/env bash
# Statements that both begin with a name, told apart by their second terminal (Lookahead = 2):
# the classic translator decides on one terminal and rejects "x := 1;"; the embeddable one must
# accept it and every other statement list.
exec bash "$CASE_DIR/../../embedded_language_check.sh" lookahead2.lang stmts
