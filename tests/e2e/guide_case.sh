# Helpers for the check.sh of the guide-* cases, whose descriptions and C files the user guide
# and the README quote. Sourced by check.sh (run_case.sh sets PARVOLEN, CASE_DIR and WORK_DIR);
# each helper records a failure in $fail, and check.sh ends with `exit $fail`.
#
#   build <main.c> [<dir>]       compile the translator generated in <dir> (default: the work
#                                directory) with <main.c>, with every C compiler at hand
#   accepts <text>               every translator built reads <text> and succeeds (the file
#                                names given are in.txt, and out.txt when there is a writer module)
#   rejects <text> <message>     every translator fails on <text> and prints exactly <message>,
#                                where the input file is called in.txt
#   translates <text> <output>   every translator turns <text> into exactly <output>
#   translates_file <input file> <output file>
#                                the same with the texts of two files
#   same_headers                 the headers generated in the work directory equal those kept
#                                in the case's headers/ directory (which the guide quotes)
#   generates <file> <status> [<message>]
#                                parvolen -q <file>, run in a directory of its own, exits with
#                                <status> and, when given, prints <message> as its last line;
#                                $generated is that directory
set -u
cd "$WORK_DIR" || exit 1
fail=0
translators=()
out_arg=()  # the output file argument, for a translator with a writer module

# Until the program writes every module of a translator, the cases cannot build one: they are
# skipped (exit 77) with a note instead. (Once the parser, actions and writer generators exist, a run that prints
# "Done." always writes the modules that _parser.c includes, and this never triggers.)
skip_if_incomplete() {
  local dir=$1 module
  if [ ! -f "$dir/_parser.c" ]; then
    echo "SKIP: parvolen wrote no _parser.c; the translator cannot be built yet"
    exit 77
  fi
  for module in _actions _writer; do
    if grep -q "#include.*\"$module.h\"" "$dir/_parser.c" && [ ! -f "$dir/$module.c" ]; then
      echo "SKIP: parvolen wrote no $module.c; the translator cannot be built yet"
      exit 77
    fi
  done
}

build() {
  local main=$1 dir=${2:-.} cc
  skip_if_incomplete "$dir"
  translators=()
  out_arg=()
  [ -f "$dir/_writer.c" ] && out_arg=(out.txt)
  for cc in gcc clang; do
    command -v "$cc" > /dev/null || continue
    if "$cc" -Werror=implicit-function-declaration -I"$dir" -o "$dir/translator-$cc" "$main" "$dir"/_*.c; then
      translators+=("$dir/translator-$cc")
    else
      echo "$cc: the translator in $dir does not build"
      fail=1
    fi
  done
  [ ${#translators[@]} -gt 0 ] || { echo "no translator built"; fail=1; }
}

# Runs every translator on the text; sets $got to the output of the last, checks the status.
run_each() {
  local text=$1 want_status=$2 t status
  got=""
  printf '%s\n' "$text" > in.txt
  for t in "${translators[@]}"; do
    rm -f out.txt
    got=$("$t" in.txt "${out_arg[@]}" 2>&1)
    status=$?
    if [ "$want_status" = 0 ] && [ $status != 0 ]; then
      echo "$t rejects: $text"
      echo "$got"
      fail=1
    elif [ "$want_status" != 0 ] && [ $status = 0 ]; then
      echo "$t accepts: $text"
      fail=1
    fi
  done
}

accepts() {
  run_each "$1" 0
}

rejects() {
  run_each "$1" 1
  if [ "$got" != "$2" ]; then
    echo "on: $1"
    echo "want: $2"
    echo "got:  $got"
    fail=1
  fi
}

translates() {
  local t
  printf '%s\n' "$1" > in.txt
  printf '%s\n' "$2" > want.txt
  for t in "${translators[@]}"; do
    rm -f out.txt
    "$t" in.txt "${out_arg[@]}" || { echo "$t fails on: $1"; fail=1; continue; }
    if ! cmp -s want.txt out.txt; then
      echo "$t translates $1 into:"
      cat out.txt
      fail=1
    fi
  done
}

same_headers() {
  local want
  for want in "$CASE_DIR"/headers/*; do
    if ! cmp -s "$want" "$(basename "$want")"; then
      echo "generated $(basename "$want") differs:"
      diff -u "$want" "$(basename "$want")" | head -n 40
      fail=1
    fi
  done
}

translates_file() {
  translates "$(cat "$1")" "$(cat "$2")"
}

generates() {
  local file=$1 want_status=$2 status out
  generated=$(mktemp -d "$WORK_DIR/run-XXXX")
  cp "$file" "$generated/"
  out=$(cd "$generated" && "$PARVOLEN" -q "$(basename "$file")")
  status=$?
  if [ "$status" != "$want_status" ]; then
    echo "parvolen $(basename "$file"): exit status $status, want $want_status"
    echo "$out"
    fail=1
  fi
  if [ $# -ge 3 ] && [ "$(printf '%s\n' "$out" | grep -v '^$' | tail -n 1)" != "$3" ]; then
    echo "parvolen $(basename "$file"): last line is not: $3"
    echo "$out"
    fail=1
  fi
}
