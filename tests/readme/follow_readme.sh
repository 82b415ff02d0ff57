#!/usr/bin/env bash
# Follows the README as a new user would: clones the committed HEAD into a temporary directory
# and runs the README's set-up and install commands as written, with HOME a fresh directory and a
# PATH of the system's directories only (none of which may hold an earlier install); then
# replays the README's sessions with the installed program and builds, in an empty folder, the
# project that the README shows using find_package(Parvolen). Fails at the first step that does
# not work as written.
#
# The commands are the fenced blocks of README.md marked by a line "<!-- readme-test: STEP -->"
# (setup, test, install, consumer), the files those of the example blocks the README quotes: a
# README whose marked blocks go away or change is what this test runs. The test command itself
# (make test, which runs this script) is only checked to be one that make knows.
#
# Usage: follow_readme.sh        (JOBS: parallel build jobs, default 2; KEEP=1 keeps the work dir)
# A full build: run by `make test` and `make readme-test`, not by ctest.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
readme=$root/README.md
jobs=${JOBS:-2}
work=$(mktemp -d "${TMPDIR:-/tmp}/parvolen-readme.XXXXXX") || exit 1
log=$work/log.txt

fail() {
  echo "README test: FAIL: $*"
  echo "README test: the work directory is kept: $work"
  exit 1
}

# The lines of the fenced block right below the line "<!-- MARKER -->" of the README.
block() {
  awk -v marker="<!-- $1 -->" '
    state == 2 && /^```/ { exit }
    state == 2 { print; next }
    state == 1 { if (/^```/) { state = 2; next } exit }
    $0 == marker { state = 1 }
  ' "$readme"
}

# Every block the test follows, read before anything runs.
for marker in "readme-test: setup" "readme-test: test" "readme-test: install" "readme-test: consumer" \
              "example: tests/readme/consumer/CMakeLists.txt" \
              "example: tests/e2e/cases/guide-calc/files/calc.lang" \
              "example: tests/e2e/cases/guide-calc/files/main.c"; do
  [ -n "$(block "$marker")" ] || fail "README.md has no fenced block below '<!-- $marker -->'"
done

# The committed HEAD, cloned as a new user clones it.
head=$(git -C "$root" rev-parse HEAD) || fail "$root is no git repository"
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
  echo "README test: note: uncommitted changes are not tested, only HEAD $head"
clone=$work/parvolen
git clone --quiet "$root" "$clone" && git -C "$clone" checkout --quiet --detach "$head" ||
  fail "git clone of $root"

# A fresh HOME and the system's PATH, without any earlier install of Parvolen.
home=$work/home
mkdir -p "$home"
path=""
for dir in /usr/local/sbin /usr/local/bin /usr/sbin /usr/bin /sbin /bin; do
  [ -d "$dir" ] || continue
  if [ -e "$dir/parvolen" ] || [ -e "$dir/parvolen-inspect" ]; then
    fail "an earlier install is in $dir; this test needs a machine without one"
  fi
  path=${path:+$path:}$dir
done
consumer=$work/consumer
mkdir -p "$consumer"
block "example: tests/e2e/cases/guide-calc/files/calc.lang" > "$consumer/calc.lang"
block "example: tests/e2e/cases/guide-calc/files/main.c" > "$consumer/main.c"
block "example: tests/readme/consumer/CMakeLists.txt" > "$consumer/CMakeLists.txt"

# One shell runs every step, so that what the README exports holds for the steps after it. The
# lines between the README's blocks are this test's checks.
{
  echo 'set -e'
  echo 'step() { echo "== $1 (${SECONDS}s)"; }'
  echo "cd '$clone'"
  echo 'step "README set-up"'
  block "readme-test: setup"
  echo 'step "README test command, dry run"'
  block "readme-test: test" | while read -r command rest; do
    [ "$command" = make ] || { echo "echo 'the test command is no make command: $command $rest'; exit 1"; continue; }
    echo "make -n ${rest%%#*} > /dev/null"
  done
  echo 'step "README install"'
  block "readme-test: install"
  echo 'step "check: the installed program is found on the PATH"'
  echo '[ "$(command -v parvolen)" = "$HOME/.local/bin/parvolen" ] || { echo "parvolen on the PATH: $(command -v parvolen)"; exit 1; }'
  echo 'parvolen --version'
  echo '! command -v man > /dev/null || man -w parvolen | grep -q "^$HOME/" || { echo "man parvolen does not find the installed page"; exit 1; }'
  echo 'step "check: the README sessions replay with the installed program"'
  echo "bash '$clone/tests/docs/check_sessions.sh' '$clone/README.md' '$clone' \"\$(command -v parvolen)\" '$work/sessions'"
  echo "cd '$consumer'"
  echo 'step "README consumer project"'
  block "readme-test: consumer"
  echo 'step "check: the package found is the one installed"'
  echo 'grep -q "^Parvolen_DIR:PATH=$HOME/.local/" build/CMakeCache.txt || { grep "^Parvolen_DIR" build/CMakeCache.txt; exit 1; }'
  echo 'step "done"'
} > "$work/steps.sh"

echo "README test: following README.md of $head in $work"
env -i HOME="$home" PATH="$path" LANG=C.UTF-8 TERM=dumb JOBS="$jobs" CMAKE_BUILD_PARALLEL_LEVEL="$jobs" \
  nice bash "$work/steps.sh" > "$log" 2>&1
status=$?
grep '^== ' "$log" | sed 's/^/README test: /'
if [ "$status" != 0 ]; then
  echo "README test: the last lines of $log:"
  tail -n 40 "$log"
  fail "a step of the README does not work as written"
fi
echo "README test: all steps passed"
[ "${KEEP:-0}" = 1 ] || rm -rf "$work"
