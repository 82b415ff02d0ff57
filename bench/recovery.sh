#!/usr/bin/env bash
# Error-recovery benchmark: valid real PL/0, Oberon-0 and JSON programs with 1 and 3 injected
# token errors each, parsed by the embeddable translator of examples/pl0, examples/oberon0 and
# examples/json with recovery on, and by parsers of the same languages made with the LL(*)
# generator of the distribution (bench/peers/Pl0.g4, Oberon0.g4, Json.g4, its Java target and its
# default recovery); bench/recovery.py injects the errors and scores the reports (recall,
# spurious reports, first-error exactness) and prints the table.
# The programs are those of shared/realworld/LANG/valid beside the repository, or of REALWORLD.
# A translator without the recovery interface yet is run stopping at the first error.
#
# usage: bench/recovery.sh BUILD_DIR   (make bench-recovery)
#   SEED     seed of the edits (default 1); TARGET  programs per language and k (about; 200)
#   MAX      most errors our translators report (100)
#   DETAILS  a file to write every program with a missed edit or a spurious report to, with the
#            edits and each tool's reports
#   KEEP     when set, the scratch folder with the programs and translators is kept (its path is
#            printed), to rerun a program that FAILURE lines name
#   PARVOLEN the parvolen to generate our translators with (default BUILD_DIR/parvolen), so that
#            another build can be measured with these scripts
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
parvolen=${PARVOLEN:-$build/parvolen}
realworld=${REALWORLD:-$PWD/../shared/realworld}
work=$(mktemp -d)
if [ -n "${KEEP:-}" ]; then
  trap 'echo "bench: the programs and translators are kept in $work" >&2' EXIT
else
  trap 'rm -rf "$work"' EXIT
fi
peers=$PWD/bench/peers

source bench/lib.sh

[ -d "$realworld" ] || { echo "bench: no real programs at $realworld (set REALWORLD)" >&2; exit 1; }
realworld=$(cd "$realworld" && pwd)
[ -x "$parvolen" ] || { echo "bench: no parvolen at $parvolen" >&2; exit 1; }

bench_install antlr4=antlr4 javac=default-jdk-headless
runtime=/usr/share/java/antlr4-runtime.jar

# Our translator of LANGUAGE and its driver, $work/ours-LANGUAGE; with -DRECOVERY when the
# header declares the recovery interface.
build_ours() {
  local language=$1 folder=$work/gen-$1 recovery=()
  mkdir -p "$folder"
  if "$parvolen" -q --prefix="$language" "examples/$language/$language.lang" "$folder" >"$folder.log" 2>&1; then
    if grep -q "${language}_set_max_errors" "$folder/$language.h"; then
      recovery=(-DRECOVERY)
    else
      echo "bench: our $language translator has no recovery interface: it stops at the first error" >&2
    fi
    cc -std=c99 -O2 -DPREFIX="$language" "${recovery[@]}" -I"$folder" -o "$work/ours-$language" \
      "$peers/recovery_main.c" "$folder/$language.c" >>"$folder.log" 2>&1 && return 0
  fi
  echo "bench: cannot build our $language translator:" >&2
  tail -5 "$folder.log" | sed 's/^/  /' >&2
  return 1
}

# The peer parsers, all three grammars and the driver in $work/peer.
build_peer() {
  mkdir -p "$work/peer"
  cp "$peers"/Pl0.g4 "$peers"/Oberon0.g4 "$peers"/Json.g4 "$peers"/RecoveryMain.java "$work/peer"
  (cd "$work/peer" && for grammar in Pl0 Oberon0 Json; do
    antlr4 -no-listener -no-visitor "$grammar.g4" || exit 1
  done && javac -nowarn -cp "$runtime" ./*.java) >"$work/peer.log" 2>&1
}

peer=()
if command -v antlr4 >/dev/null && command -v javac >/dev/null && [ -f "$runtime" ] && build_peer; then
  peer=(--peer "java -cp $runtime:$work/peer RecoveryMain")
else
  echo "bench: the LL(*) generator (antlr4) or a JDK is missing or its parsers do not build:" \
    "no peer columns" >&2
  [ -f "$work/peer.log" ] && tail -5 "$work/peer.log" | sed 's/^/  /' >&2
fi

languages=()
for entry in pl0:Pl0:program oberon0:Oberon0:module json:Json:json; do
  IFS=: read -r language grammar rule <<<"$entry"
  if [ ! -d "$realworld/$language/valid" ]; then
    echo "bench: no programs in $realworld/$language/valid: $language is left out" >&2
    continue
  fi
  build_ours "$language" || continue
  languages+=(--language "$language:$realworld/$language/valid:$work/ours-$language:$grammar:$rule")
done
[ ${#languages[@]} -gt 0 ] || exit 1

python3 bench/recovery.py --work "$work" --ours-max "${MAX:-100}" --seed "${SEED:-1}" \
  --target "${TARGET:-200}" ${DETAILS:+--details "$DETAILS"} "${peer[@]}" "${languages[@]}"
