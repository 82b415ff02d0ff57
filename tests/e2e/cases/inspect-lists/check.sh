# Runs parvolen-inspect on the case files; then the input of its warning is shown to be real:
# the translator of the right-recursive list rejects it, that of the left-recursive one accepts it.
bash "$CASE_DIR/../../../inspect/inspect_case_check.sh" || exit 1
printf 'begin x end\n' > example.txt
for list in right left; do
  mkdir -p "gen-$list"
  "$PARVOLEN" -q "block-$list.lang" "gen-$list" > /dev/null || exit 1
  bash "$CASE_DIR/../../translator_run.sh" "gen-$list" "$CASE_DIR/../../translator_main.c" example.txt > "run-$list.txt"
done
printf 'example.txt:1: Syntax error\n' | cmp -s - run-right.txt || { echo "right:"; cat run-right.txt; exit 1; }
printf 'example.txt: accepted\n' | cmp -s - run-left.txt || { echo "left:"; cat run-left.txt; exit 1; }
