#!/usr/bin/env bash
# Generates the translator of one bundled example into a fresh directory, builds it with the
# system's cc and runs it on every sample input, showing each outcome. An example directory
# holds <name>.lang, main.c and samples/, where ok-* inputs must be accepted and bad-* inputs
# rejected; the exit status is 0 only when every sample came out so. With --prefix the example's
# embeddable translator is built instead, from embedded_main.c, as strict C99.
# usage: run_example.sh <path of the parvolen binary> <example directory> [--prefix]
set -u
usage="usage: run_example.sh <parvolen binary> <example directory> [--prefix]"
parvolen=${1:?$usage}
dir=$(cd "${2:?$usage}" && pwd) || exit 2
embedded=${3:-}
name=$(basename "$dir")
target=$(mktemp -d)
trap 'rm -rf "$target"' EXIT

if [ "$embedded" = --prefix ]; then
  echo "\$ parvolen --prefix=$name $name.lang <target>"
  "$parvolen" "--prefix=$name" "$dir/$name.lang" "$target" || exit
  echo "\$ cc -std=c99 -pedantic -Wall -Wextra -Werror -o $name embedded_main.c $name.c"
  cc -std=c99 -pedantic -Wall -Wextra -Werror -I"$target" -o "$target/$name" "$dir/embedded_main.c" "$target/$name.c" \
    || exit 1
else
  echo "\$ parvolen $name.lang <target>"
  "$parvolen" "$dir/$name.lang" "$target"
  status=$?
  if [ "$status" != 0 ]; then
    echo "(exit status $status)"
    exit "$status"
  fi
  echo
  echo "Files written (lines, name):"
  (cd "$target" && for f in _*; do printf '%6d  %s\n' "$(wc -l < "$f")" "$f"; done)

  echo
  echo "\$ cc -std=gnu11 -o $name main.c _error.c _lexer.c _parser.c"
  cc -std=gnu11 -Werror=implicit-function-declaration -I"$target" -o "$target/$name" "$dir/main.c" "$target"/_*.c \
    || exit 1
fi

cd "$dir/samples" || exit 2
wrong=0
for input in *; do
  echo
  # Short inputs are shown before their outcome.
  if [ "$(wc -l < "$input")" -le 6 ]; then
    echo "\$ cat $input"
    cat "$input"
  fi
  echo "\$ ./$name $input"
  "$target/$name" "$input"
  status=$?
  case "$input:$status" in
    ok-*:0 | bad-*:1) ;;
    *) echo "(unexpected: exit status $status)"; wrong=1 ;;
  esac
done
exit "$wrong"
