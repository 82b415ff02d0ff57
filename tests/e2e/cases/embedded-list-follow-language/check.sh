#!/usr/bin/env bash
# A right-recursive list whose items end with an optional part: the classic translator loses
# what follows the list and rejects "a x z"; the embeddable one must accept it and every other
# list between a and z.
exec bash "$CASE_DIR/../../embedded_language_check.sh" list.lang list
