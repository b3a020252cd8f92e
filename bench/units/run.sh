#!/usr/bin/env bash
# Times the unit analysis and its three reports on synthetic projects of growing size.
#   bench/units/run.sh [BUILD_DIR] [SIZES...]
# BUILD_DIR is a Release build configured with -DRAVELIN_BENCH=ON (default build/bench);
# SIZES default to 500 2000 5000 20000 units. Prints wall time and peak memory per size.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/bench}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(500 2000 5000 20000)
export LC_ALL=C
bash scripts/deps.sh bc time >/dev/null

cmake --build "$build" --target ravelin-units-bench -j2 >/dev/null
bench="$build/bench/units/ravelin-units-bench"
work=$(mktemp -d "${TMPDIR:-/tmp}/ravelin-units-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

printf '%7s  %10s  %10s  %10s  %s\n' units "wall [s]" "peak [MB]" "cat [s]" "driver output"
for n in "${sizes[@]}"; do
  dir="$work/p$n"
  "$bench" generate "$dir" "$n" 1
  out=$(/usr/bin/time -v "$bench" run "$dir" 2>"$work/time.txt")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time.txt")
  peak=$(awk -F': ' '/Maximum resident set size/ {printf "%.1f", $2 / 1024}' "$work/time.txt")
  # The peer, measured in the same run: reading every file of the project and nothing else.
  start=$(date +%s.%N)
  find "$dir" -type f -exec cat {} + >/dev/null
  cat_time=$(echo "$(date +%s.%N) - $start" | bc)
  printf '%7s  %10s  %10s  %10.3f  %s\n' "$n" "$wall" "$peak" "$cat_time" \
    "$(echo "$out" | tr '\n' ' ')"
  rm -rf "$dir"
done
