#!/usr/bin/env bash
# Runs one end-to-end case: the real binary in a fresh work directory.
#
# A case directory holds:
#   args             the command line, split at blanks (no quoting)
#   expected.out     the exact standard output
#   expected.status  the exit status (0 when the file is absent)
#   expected.err     optional: the exact standard error (without it, standard error is not compared)
#   files/           optional: copied into the work directory before the run
#   expected/        optional: every file here must exist in the work directory with the same bytes
#   check.sh         optional: run last in the work directory with PARVOLEN, CASE_DIR and WORK_DIR set;
#                    a non-zero exit fails the case (for compiling and running generated C), except
#                    77: what the check needs is absent, and the case exits 77 (CTest: skipped)
set -u
parvolen=$1
case_dir=$2
work_dir=$3

rm -rf "$work_dir"
mkdir -p "$work_dir"
if [ -d "$case_dir/files" ]; then
  cp -R "$case_dir/files/." "$work_dir/"
fi
cd "$work_dir" || exit 1

args=""
[ -f "$case_dir/args" ] && args=$(cat "$case_dir/args")
# shellcheck disable=SC2086
if [ -f "$case_dir/expected.err" ]; then
  "$parvolen" $args > actual.out 2> actual.err
else
  "$parvolen" $args > actual.out
fi
status=$?

fail=0
want_status=0
[ -f "$case_dir/expected.status" ] && want_status=$(tr -d '[:space:]' < "$case_dir/expected.status")
if [ "$status" != "$want_status" ]; then
  echo "exit status: got $status, want $want_status"
  fail=1
fi
if [ -f "$case_dir/expected.out" ] && ! cmp -s "$case_dir/expected.out" actual.out; then
  echo "standard output differs:"
  diff -u "$case_dir/expected.out" actual.out | cat -A | head -n 60
  fail=1
fi
if [ -f "$case_dir/expected.err" ] && ! cmp -s "$case_dir/expected.err" actual.err; then
  echo "standard error differs:"
  diff -u "$case_dir/expected.err" actual.err | cat -A | head -n 60
  fail=1
fi
if [ -d "$case_dir/expected" ]; then
  while IFS= read -r -d '' want; do
    rel=${want#"$case_dir/expected/"}
    if [ ! -f "$rel" ]; then
      echo "missing file: $rel"
      fail=1
    elif ! cmp -s "$want" "$rel"; then
      echo "file differs: $rel"
      diff -u "$want" "$rel" | cat -A | head -n 60
      fail=1
    fi
  done < <(find "$case_dir/expected" -type f -print0)
fi
if [ "$fail" = 0 ] && [ -f "$case_dir/check.sh" ]; then
  PARVOLEN=$parvolen CASE_DIR=$case_dir WORK_DIR=$work_dir bash "$case_dir/check.sh"
  case $? in
    0) ;;
    77) fail=77 ;;
    *) fail=1 ;;
  esac
fi
exit $fail
