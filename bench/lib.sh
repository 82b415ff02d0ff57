# shellcheck shell=bash
# Helpers shared by the benchmark scripts; source it after setting `work` to a scratch folder.
: "${work:?bench/lib.sh needs work, a scratch folder}"

# Installs the packages of the commands that are missing, given as COMMAND=PACKAGE pairs, when we
# may (as root, with apt-get); says on standard error what it installs and what it could not.
bench_install() {
  local pair missing=()
  for pair in "$@"; do
    command -v "${pair%%=*}" >/dev/null || missing+=("${pair#*=}")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
  if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null; then
    echo "bench: missing ${missing[*]} (not root or no apt-get: not installed)" >&2
    return 0
  fi
  echo "bench: installing ${missing[*]}" >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null 2>&1 ||
    { apt-get update >/dev/null 2>&1 && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null 2>&1; } ||
    echo "bench: could not install ${missing[*]}" >&2
}

# Prints "seconds kilobytes status" of a command run REPEAT times (default 1): CPU time (user +
# system) per run, the peak memory of a run, the exit status of the last run. The runs go through
# a shell, whose own memory sets a floor of a few megabytes under the peak.
measure() {
  local repeat=${REPEAT:-1}
  /usr/bin/time -o "$work/time" -f '%U %S %M' bash -c \
    'for ((i = 0; i < $0; i++)); do "$@" >/dev/null 2>&1; s=$?; done; exit $s' "$repeat" "$@" || true
  time_result "$repeat"
}

# Prints "seconds kilobytes status" of one run of a command started without a shell between, so
# that the peak memory is the command's own.
measure_once() {
  /usr/bin/time -o "$work/time" -f '%U %S %M' "$@" >/dev/null 2>&1 || true
  time_result 1
}

# Reads what /usr/bin/time wrote to $work/time for REPEAT runs ($1).
time_result() {
  local st=0
  grep -q 'exited with non-zero status' "$work/time" && st=$(grep -o '[0-9]*$' <(head -1 "$work/time"))
  tail -1 "$work/time" | awk -v r="$1" -v s="$st" '{printf "%.4f %d %d\n", ($1 + $2) / r, $3, s}'
}

# Prints "seconds kilobytes status" like measure_once, for the best of BEST runs (default 5): the
# least CPU time and the least peak memory, the first non-zero exit status or 0. On a shared
# machine the least time is the one least disturbed by others.
measure_best() {
  local runs=${BEST:-5} i
  for ((i = 0; i < runs; i++)); do
    measure_once "$@"
  done | awk '
    NR == 1 || $1 < t { t = $1 }
    NR == 1 || $2 < kb { kb = $2 }
    $3 != 0 && st == 0 { st = $3 }
    END { printf "%.4f %d %d\n", t, kb, st }'
}
