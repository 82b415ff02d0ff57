# The case itself runs parvolen without arguments (the usage text); the check generates, builds
# and runs the bundled JSON example.
exec bash "$CASE_DIR/../../example_check.sh" json
