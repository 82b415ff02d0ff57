#!/usr/bin/env bash
# The check of the embedded-*-language end-to-end cases, whose grammar passes the check but whose
# classic translator rejects input the grammar derives. Run by check.sh in the work directory,
# where the case's own run wrote the classic translator of DESCRIPTION:
#   - the classic translator rejects the first line of sentences.txt with a syntax error (the
#     case documents this difference, which the classic output keeps);
#   - the embeddable translator of the same description (--prefix=NAME) accepts every line of
#     sentences.txt and rejects every line of non-sentences.txt.
# usage: embedded_language_check.sh DESCRIPTION NAME
set -u
description=$1 name=$2
here=$(cd "$(dirname "$0")" && pwd)
cd "$WORK_DIR" || exit 1

head -n 1 sentences.txt > classic-input.txt
classic=$(bash "$here/translator_run.sh" . "$here/translator_main.c" classic-input.txt)
if [ "$classic" != "classic-input.txt:1: Syntax error" ]; then
  echo "the classic translator should reject '$(cat classic-input.txt)', but printed:"
  echo "$classic"
  exit 1
fi

mkdir -p embedded
"$PARVOLEN" -q "--prefix=$name" "$description" embedded > embedded/generate.txt 2>&1 ||
  { echo "parvolen --prefix=$name failed:"; cat embedded/generate.txt; exit 1; }
cc -std=c99 -pedantic -Wall -Wextra -Werror -DPREFIX="$name" "-DHEADER=\"$name.h\"" -Iembedded \
  -o embedded/lines "$here/embedded_lines_main.c" "embedded/$name.c" || exit 1
embedded/lines sentences.txt > sentences.verdicts || exit 1
embedded/lines non-sentences.txt > non-sentences.verdicts || exit 1

# Each verdict beside its line: "1" for accepted, "0 STATUS LINE:COLUMN TEXT" for rejected.
wrongly_accepted=$(paste -d '\t' non-sentences.verdicts non-sentences.txt | awk -F '\t' '$1 == "1"')
wrongly_rejected=$(paste -d '\t' sentences.verdicts sentences.txt | awk -F '\t' '$1 != "1"')
if [ -n "$wrongly_accepted" ]; then
  echo "the embeddable translator accepts lines that the grammar does not derive:"
  echo "$wrongly_accepted"
  exit 1
fi
if [ -n "$wrongly_rejected" ]; then
  echo "the embeddable translator rejects sentences that the grammar derives:"
  echo "$wrongly_rejected"
  exit 1
fi
