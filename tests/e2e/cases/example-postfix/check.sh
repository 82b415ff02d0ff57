# The case itself runs parvolen with -? (the usage text); the check generates, builds and runs the
# bundled postfix example, whose run.sh compares the output file with the expected one.
bash "$CASE_DIR/../../../../examples/postfix/run.sh" "$PARVOLEN" > run.out 2>&1 || { cat run.out; exit 1; }
