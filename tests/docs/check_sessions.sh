#!/usr/bin/env bash
# Replays the shell sessions of a document: every ```console block, in a fresh empty directory
# that holds the .lang and .c files the document quoted before it (<!-- example: PATH --> blocks).
# A line "$ command" is run with bash, with parvolen on the PATH; the lines after it, up to the
# next command, are its expected output (standard output and standard error together).
# Exits 77 (skipped) while parvolen succeeds without writing a parser (before its parser
# generator exists).
#
# Usage: check_sessions.sh <document> <repository root> <parvolen binary> <work dir>
set -u
doc=$1
root=$2
parvolen=$3
work=$4

rm -rf "$work"
mkdir -p "$work/probe" || exit 1
probe='[Language]\nStartingSymbol = S\nLookahead = 1\nNonterminals = 1\nTerminals = 1\nProductions = 1\nEdges = 4\nViews = 4\nNodes = 4\n[Terminals]\na\n[Nonterminals]\nS\n[Productions]\nS ::= (a)\n'
if ! (cd "$work/probe" && printf "$probe" > p.lang && "$parvolen" -q p.lang); then
  echo "parvolen fails on a minimal description"
  exit 1
fi
if [ ! -f "$work/probe/_parser.c" ]; then
  echo "SKIP: parvolen does not write _parser.c yet"
  exit 77
fi
export PATH="$(cd "$(dirname "$parvolen")" && pwd):$PATH"

fail=0
sessions=0
files=()        # example files quoted so far
in_block=""     # "console" inside a session, "other" inside another block, empty outside
marker=""       # the example path named right above the current line
cmd=""
want=""
nwant=0
dir=""

finish_command() {
  [ -n "$cmd" ] || return
  local got
  got=$(cd "$dir" && bash -c "$cmd" 2>&1)
  want=$(printf '%s' "$want")  # trailing line ends do not count, as in $(...)
  if [ "$got" != "$want" ]; then
    echo "$doc: \$ $cmd"
    echo "--- want"
    printf '%s\n' "$want"
    echo "--- got"
    printf '%s\n' "$got"
    fail=1
  fi
  cmd=""
  want=""
  nwant=0
}

while IFS= read -r line || [ -n "$line" ]; do
  if [ -z "$in_block" ]; then
    if [[ $line == '```console' ]]; then
      in_block=console
      sessions=$((sessions + 1))
      dir="$work/session-$sessions"
      mkdir -p "$dir"
      for f in "${files[@]}"; do cp "$root/$f" "$dir/"; done
    elif [[ $line == '```'* ]]; then
      in_block=other
      if [[ $marker == *.lang || $marker == *.c ]]; then files+=("$marker"); fi
    fi
    marker=""
    if [[ $line =~ ^'<!-- example: '(.*)' -->'$ ]]; then marker=${BASH_REMATCH[1]}; fi
    continue
  fi
  if [[ $line == '```' ]]; then
    [ "$in_block" = console ] && finish_command
    in_block=""
    continue
  fi
  [ "$in_block" = console ] || continue
  if [[ $line == '$ '* ]]; then
    finish_command
    cmd=${line#'$ '}
  elif [ "$nwant" = 0 ]; then
    want=$line
    nwant=1
  else
    want+=$'\n'"$line"
    nwant=$((nwant + 1))
  fi
done < "$doc"

[ "$sessions" -gt 0 ] || { echo "$doc has no console session"; fail=1; }
exit $fail
