# The case itself runs parvolen without arguments (the usage text); the check runs the JSON
# documents of shared/realworld through the translator of the bundled JSON example.
repo=$CASE_DIR/../../../..
exec bash "$CASE_DIR/../../realworld_check.sh" json "$repo/examples/json/json.lang" "$repo/examples/json/main.c"
