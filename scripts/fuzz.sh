#!/usr/bin/env bash
# Installs the dependencies, builds the fuzz preset (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each fuzz target over a copy of its seed corpus, so that
# fuzz/corpus/ stays as it is. Exits non-zero when a target finds a crash or a broken property;
# the input that did it is kept in the work folder, whose path is printed.
#
#   scripts/fuzz.sh                         every target, 3000 runs each (at most 30 s a target)
#   scripts/fuzz.sh --runs N [TARGET..]     N runs each
#   scripts/fuzz.sh --seconds N [TARGET..]  N seconds each
#
# TARGET is a folder name of fuzz/corpus/ (data_file, start_up, channel_grid, memory_grid,
# transfer).
set -euo pipefail
cd "$(dirname "$0")/.."

# The short default that CI runs: a few thousand inputs, and no target longer than half a minute.
limit=(-runs=3000 -max_total_time=30)
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) limit=("-runs=$2"); shift 2 ;;
    --seconds) limit=("-max_total_time=$2"); shift 2 ;;
    -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  for corpus in fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi

scripts/install-deps.sh
cmake --preset fuzz
cmake --build --preset fuzz --parallel 2

work=$(mktemp -d "${TMPDIR:-/tmp}/tq474-fuzz-XXXXXX")
keep=0
finish() {
  if [ "$keep" -eq 0 ]; then rm -rf "$work"; fi
}
trap finish EXIT
# The targets' own temporary program folders go into the work folder too.
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"

failed=()
for target in "${targets[@]}"; do
  binary="build/fuzz/bin/tq474-fuzz-$target"
  if [ ! -x "$binary" ] || [ ! -d "fuzz/corpus/$target" ]; then
    echo "no fuzz target $target" >&2
    exit 2
  fi
  corpus="$work/corpus-$target"
  mkdir -p "$corpus" "$work/findings-$target"
  cp "fuzz/corpus/$target"/* "$corpus"/
  echo "=== $target: ${limit[*]}"
  start=$SECONDS
  # Only the last lines: the figures (runs, exec/s, cov, ft) and, on a finding, the report.
  if "$binary" "${limit[@]}" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="$work/findings-$target/" "$corpus" > "$work/$target.log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
      "$work/$target.log" || true
    echo "=== $target passed in $((SECONDS - start)) s"
  else
    tail -n 60 "$work/$target.log"
    echo "=== $target FAILED; the input is in $work/findings-$target/"
    failed+=("$target")
    keep=1
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets with findings: ${failed[*]} (work folder $work)"
  exit 1
fi
echo "All fuzz targets passed: ${targets[*]}"
