# The case itself runs parvolen without arguments (the usage text); the check runs the PL/0
# programs of shared/realworld through the translator of the bundled PL/0 example.
repo=$CASE_DIR/../../../..
exec bash "$CASE_DIR/../../realworld_check.sh" pl0 "$repo/examples/pl0/pl0.lang" "$repo/examples/pl0/main.c"
