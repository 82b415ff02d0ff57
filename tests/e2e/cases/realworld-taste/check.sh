# Runs the Taste programs of shared/realworld through the translator of the case's description.
exec bash "$CASE_DIR/../../realworld_check.sh" taste "$CASE_DIR/files/taste.lang" "$CASE_DIR/../../translator_main.c"
