# The case itself runs parvolen without arguments (the usage text); the check generates, builds
# and runs the bundled classic JSON example (examples/json-classic).
exec bash "$CASE_DIR/../../example_check.sh" json-classic
