#!/usr/bin/env bash
# Installs Parvolen into a temporary prefix, then builds and runs the consumer project under
# tests/install/consumer with it: find_package(Parvolen), parvolen_generate, the generated
# translators; then touches and edits a description and checks that the build regenerates.
#
# Usage: run_install_test.sh <parvolen binary> <parvolen build dir> <consumer source dir> <work dir>
# Exits 77 (reported as skipped) while the program cannot yet write a parser or actions module.
set -u
parvolen_built=$1
build_dir=$2
consumer_src=$3
work=$4

fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$work"
mkdir -p "$work" || exit 1
cd "$work" || exit 1

# The test needs a complete translator: skip while the program succeeds without writing every
# module (before its parser and actions generators exist); a failing run is a failure.
mkdir probe
cp "$consumer_src"/*.lang probe/
for lang in calc postfix; do
  (cd probe && "$parvolen_built" -q -s $lang.lang > $lang.out) || { cat probe/$lang.out; fail "parvolen $lang.lang"; }
done
missing=""
for f in _parser.c _actions.c _writer.c; do
  [ -f "probe/$f" ] || missing="$missing $f"
done
if [ -n "$missing" ]; then
  echo "SKIP: parvolen does not write$missing yet; the consumer project needs a complete translator"
  exit 77
fi

# Install.
cmake --install "$build_dir" --prefix "$work/prefix" > install.log || { cat install.log; fail "cmake --install"; }
[ -x prefix/bin/parvolen ] || fail "prefix/bin/parvolen not installed"
man_page=$(find prefix -path '*/man1/parvolen.1' | head -n 1)
[ -n "$man_page" ] || fail "man page not installed"
config=$(find prefix -name ParvolenConfig.cmake | head -n 1)
[ -n "$config" ] || fail "ParvolenConfig.cmake not installed"
for f in ParvolenConfigVersion.cmake ParvolenGenerate.cmake ParvolenTargets.cmake; do
  [ -f "$(dirname "$config")/$f" ] || fail "$f not installed beside ParvolenConfig.cmake"
done
if command -v man > /dev/null; then
  MANWIDTH=80 man -l "$man_page" > man.txt 2> man.err || { cat man.err; fail "man -l"; }
  grep -q 'SYNOPSIS' man.txt || fail "man page renders without a SYNOPSIS"
fi

# Configure and build the consumer from a copy, so that its descriptions can be edited.
cp -R "$consumer_src" src
cmake -S src -B out -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" > configure.log 2>&1 \
  || { cat configure.log; fail "configuring the consumer"; }
cmake --build out > build1.log 2>&1 || { cat build1.log; fail "building the consumer"; }

# The package listed exactly the files that parvolen wrote.
cat > want-lists.txt <<'EOF'
calc: FALSE FALSE
postfix: TRUE TRUE
calc-gen/_error.c
calc-gen/_error.h
calc-gen/_lexer.c
calc-gen/_lexer.h
calc-gen/_parser.c
calc-gen/_parser.h
postfix-gen/_error.c
postfix-gen/_error.h
postfix-gen/_lexer.c
postfix-gen/_lexer.h
postfix-gen/_actions.c
postfix-gen/_actions.h
postfix-gen/_writer.c
postfix-gen/_writer.h
postfix-gen/_parser.c
postfix-gen/_parser.h
calc-embedded/calc.c
calc-embedded/calc.h
EOF
diff -u want-lists.txt out/generated-lists.txt || fail "generated source lists"
[ "$(cd out/calc-gen && ls _* | wc -l)" = 6 ] || fail "calc-gen holds other files than the six listed"
[ "$(cd out/postfix-gen && ls _* | wc -l)" = 10 ] || fail "postfix-gen holds other files than the ten listed"
[ -s out/calc.lst ] || fail "no listing out/calc.lst"

# Run the translators.
printf '1 + 2 * (3 + 4)\n' > good.txt
printf '1 +\n* 2\n' > bad.txt
[ "$(out/calc good.txt)" = "ok" ] || fail "calc rejects good.txt"
out/calc bad.txt > bad.out && fail "calc accepts bad.txt"
[ "$(cat bad.out)" = "bad.txt:2: Syntax error" ] || fail "calc on bad.txt says: $(cat bad.out)"
[ "$(out/calc_embedded good.txt)" = "ok" ] || fail "calc_embedded rejects good.txt"
out/calc_embedded bad.txt > bad.out && fail "calc_embedded accepts bad.txt"
[ "$(cat bad.out)" = "bad.txt:2:1: expected num or '(', found '*'" ] ||
  fail "calc_embedded on bad.txt says: $(cat bad.out)"
printf '12 - 3 * (4 + 5)\n' > infix.txt
out/postfix infix.txt postfix.txt || fail "postfix fails on infix.txt"
printf '12\n3\n4\n5\n+\n*\n-\n' > want-postfix.txt
diff -u want-postfix.txt postfix.txt || fail "postfix output"

# A build with nothing changed generates nothing.
cmake --build out > build2.log 2>&1 || { cat build2.log; fail "second build"; }
grep -q 'Generating' build2.log && { cat build2.log; fail "an unchanged build regenerated"; }

# Touching a description regenerates that translator only.
sleep 1
touch src/calc.lang
cmake --build out > build3.log 2>&1 || { cat build3.log; fail "build after touch"; }
grep -q 'Generating the calc translator' build3.log || { cat build3.log; fail "touching calc.lang did not regenerate"; }
grep -q 'Generating the postfix translator' build3.log && fail "touching calc.lang regenerated postfix"

# Editing a description changes the translator that the build makes.
sleep 1
sed -i 's/^mul = .*/mul = times\\n/' src/postfix.lang
cmake --build out > build4.log 2>&1 || { cat build4.log; fail "build after edit"; }
grep -q 'Generating the postfix translator' build4.log || { cat build4.log; fail "editing postfix.lang did not regenerate"; }
out/postfix infix.txt postfix.txt || fail "postfix fails after the edit"
printf '12\n3\n4\n5\n+\ntimes\n-\n' > want-postfix.txt
diff -u want-postfix.txt postfix.txt || fail "postfix output after the edit"

# Declaring an output terminal re-runs the configure step: the writer module joins the list.
sleep 1
sed -i -e 's/^Terminals = 6/Terminals = 6\nOutTerms = 1/' -e 's/^\[Productions\]/[OutTerms]\ndone\n[Productions]/' \
  -e 's/^Program ::= \[Expr\](eoi)$/Program ::= [Expr](eoi)<done>/' src/calc.lang
cmake --build out --target calc-gen/_writer.c > build5.log 2>&1 || { cat build5.log; fail "build after adding [OutTerms]"; }
grep -q 'calc: FALSE TRUE' out/generated-lists.txt || { cat out/generated-lists.txt; fail "the list has no _writer after [OutTerms] came"; }
grep -q 'OutOpen' out/calc-gen/_parser.c || fail "_parser.c does not open the output file"

echo "install and consumer build: all checks passed"
