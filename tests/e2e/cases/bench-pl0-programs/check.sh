# The case itself runs parvolen without arguments (the usage text); the check runs the PL/0
# translator of examples/pl0 on programs that bench/pl0_programs.py writes for the translator
# benchmark: every one must be accepted, and the same seed must give the same program.
command -v python3 > /dev/null || exit 77
root=$(cd "$CASE_DIR/../../../.." && pwd)
generator=$root/bench/pl0_programs.py

mkdir -p "$WORK_DIR/gen"
"$PARVOLEN" -q "$root/examples/pl0/pl0.lang" "$WORK_DIR/gen" > "$WORK_DIR/gen.txt" || { cat "$WORK_DIR/gen.txt"; exit 1; }
inputs=()
for seed in 1 2 3 4; do
  python3 "$generator" 30k "$WORK_DIR/program-$seed.pl0" --seed "$seed" || exit 1
  inputs+=("$WORK_DIR/program-$seed.pl0")
done
python3 "$generator" 30k "$WORK_DIR/again.pl0" --seed 4 || exit 1
cmp "$WORK_DIR/program-4.pl0" "$WORK_DIR/again.pl0" || { echo "seed 4 gave two programs"; exit 1; }

actual=$(bash "$CASE_DIR/../../translator_run.sh" "$WORK_DIR/gen" "$root/examples/pl0/main.c" "${inputs[@]}") ||
  { echo "$actual"; exit 1; }
expected=$(printf 'program-%s.pl0: accepted\n' 1 2 3 4)
if [ "$actual" != "$expected" ]; then
  echo "generated PL/0 programs not all accepted:"
  echo "$actual"
  exit 1
fi
