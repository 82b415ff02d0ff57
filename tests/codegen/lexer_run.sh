#!/usr/bin/env bash
# Builds the generated error and lexer modules of GENDIR together with lexer_driver.c, with cc
# and with clang (when present), runs both on every INPUT and prints the output, which must be
# the same for both compilers. Before each input's output it prints "== <input file name>".
# usage: lexer_run.sh GENDIR VALUED END INPUT...   (VALUED and END as in lexer_driver.c)
set -u
here=$(cd "$(dirname "$0")" && pwd)
gen=$1 valued=$2 end=$3
shift 3
cd "$gen" || exit 2

# The terminal names, from the TermCode enumeration.
{
  echo 'const char *TermNames[] = {'
  grep -E $'^\t\tTerm_' _lexer.h | sed -E $'s/^\t\tTerm_([^,]*),?$/\t"\\1",/'
  echo '};'
} > term_names.c

flags=()
grep -q 'PureVal Val;' _lexer.h && flags+=(-DVALUE_MULTI)
grep -q '^typedef char Value;' _lexer.h && flags+=(-DVALUE_CHAR)
grep -q '^typedef char \*Value;' _lexer.h && flags+=(-DVALUE_STR)
grep -q '^typedef int Value;' _lexer.h && flags+=(-DVALUE_INT)
grep -q '^ErrCode FetchVal(Value \*V) {' _lexer.c && flags+=(-DHAVE_FETCHVAL)
grep -q '^int GetLine(void) {' _lexer.c && flags+=(-DHAVE_GETLINE)
for kind in Char Str Int Id; do
  grep -q "typedef enum {vtNone.*vt$kind[,}]" _lexer.h && flags+=("-DHAS_VT${kind^^}")
done

compilers=()
for compiler in cc clang; do
  command -v "$compiler" > /dev/null && compilers+=("$compiler")
done
for compiler in "${compilers[@]}"; do
  if ! "$compiler" -std=gnu11 -Werror=implicit-function-declaration -I. "${flags[@]}" -o "lexer_$compiler" \
      "$here/lexer_driver.c" _lexer.c _error.c term_names.c 2> "compile_$compiler.txt"; then
    echo "compile failed with $compiler:"
    cat "compile_$compiler.txt"
    exit 3
  fi
done

for input in "$@"; do
  echo "== $(basename "$input")"
  for compiler in "${compilers[@]}"; do
    "./lexer_$compiler" "$input" "$valued" "$end" > "run_$compiler.txt" 2>&1
  done
  if [ ${#compilers[@]} -gt 1 ] && ! cmp -s "run_${compilers[0]}.txt" "run_${compilers[1]}.txt"; then
    echo "runs differ between ${compilers[0]} and ${compilers[1]}"
    diff "run_${compilers[0]}.txt" "run_${compilers[1]}.txt"
  fi
  cat "run_${compilers[0]}.txt"
done
