# The case itself runs parvolen without arguments (the usage text); the check runs the JSON
# documents of shared/realworld through the translator of the bundled classic JSON example.
repo=$CASE_DIR/../../../..
exec bash "$CASE_DIR/../../realworld_check.sh" json "$repo/examples/json-classic/json-classic.lang" \
  "$repo/examples/json-classic/main.c"
