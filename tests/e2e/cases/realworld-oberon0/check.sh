# The case itself runs parvolen without arguments (the usage text); the check runs the Oberon-0
# programs of shared/realworld through the translator of the bundled Oberon-0 example.
repo=$CASE_DIR/../../../..
exec bash "$CASE_DIR/../../realworld_check.sh" oberon0 "$repo/examples/oberon0/oberon0.lang" "$repo/examples/oberon0/main.c"
