# The case itself runs parvolen without arguments (the usage text); the check generates the exact
# JSON translator of examples/json (--prefix=json), builds it with the driver json_cases.c as
# strict C99 with cc and clang, and runs the case list cases.txt through it in buffer and stream
# mode, against a model of JSON, with mutants of every case (json_cases.c says what is checked).
set -u
repo=$(cd "$CASE_DIR/../../../.." && pwd)
"$PARVOLEN" -q --prefix=json "$repo/examples/json/json.lang" "$WORK_DIR" > gen.txt || { cat gen.txt; exit 1; }
fail=0
for compiler in cc clang; do
  command -v "$compiler" > /dev/null || continue
  if ! "$compiler" -std=c99 -pedantic -Wall -Wextra -Werror -O2 -I"$WORK_DIR" -o "json_cases_$compiler" \
       "$CASE_DIR/json_cases.c" "$WORK_DIR/json.c"; then
    echo "the driver does not build with $compiler"
    fail=1
    continue
  fi
  "./json_cases_$compiler" "$CASE_DIR/cases.txt" > "run_$compiler.txt" || fail=1
  echo "$compiler:"
  head -n 60 "run_$compiler.txt"
done
exit $fail
