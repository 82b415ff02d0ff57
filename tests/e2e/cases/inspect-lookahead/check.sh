# Runs parvolen-inspect on the case files; then the input of its warning is shown to be real:
# the translator, which decides on one terminal, rejects it.
bash "$CASE_DIR/../../../inspect/inspect_case_check.sh" || exit 1
printf 'x := y\n' > example.txt
mkdir -p gen
"$PARVOLEN" -q pairs.lang gen > /dev/null || exit 1
bash "$CASE_DIR/../../translator_run.sh" gen "$CASE_DIR/../../translator_main.c" example.txt > run.txt
printf 'example.txt:1: Syntax error\n' | cmp -s - run.txt || { cat run.txt; exit 1; }
