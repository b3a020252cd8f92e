#!/usr/bin/env bash
# Times ravelin-cli cycles and graph against list on one synthetic project with planted cycles,
# all in the same run: each command is run RUNS times in turn, the best wall time counts.
#   bench/units/graph.sh [BUILD_DIR] [UNITS] [RUNS]
# BUILD_DIR is a Release build configured with -DRAVELIN_BENCH=ON (default build/bench);
# UNITS defaults to 20000, RUNS to 3. The planted cycles have the lengths below (a third of
# them closed in the interface section, so interface-only); every other use runs forward.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/bench}
units=${2:-20000}
runs=${3:-3}
lengths=1,2,2,3,3,4,5,8,13,21,50,100,500,1000,5000
export LC_ALL=C

cmake --build "$build" --target ravelin-units-bench ravelin-cli -j2 >/dev/null
bench="$build/bench/units/ravelin-units-bench"
cli="$(pwd)/$build/src/cli/ravelin-cli"
work=$(mktemp -d "${TMPDIR:-/tmp}/ravelin-graph-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
"$bench" generate "$work/p" "$units" 1 20 40 "$lengths" >/dev/null
cd "$work/p"
printf '[LAST]\r\n' >"$work/empty.INI"

commands=("list" "cycles" "cycles --format json" "graph --format dot" "graph --format graphml"
  "graph --format json" "list --fail-on-cycles")
declare -A best
for ((run = 0; run < runs; run++)); do
  for command in "${commands[@]}"; do
    start=$(date +%s.%N)
    status=0
    # shellcheck disable=SC2086
    "$cli" $command --settings "$work/empty.INI" --search lib Project.dpr >"$work/out" 2>/dev/null ||
      status=$?
    took=$(echo "$(date +%s.%N) - $start" | bc)
    # 3: --fail-on-cycles found the planted cycles.
    [ "$status" -eq 0 ] || [ "$status" -eq 3 ] || { echo "ravelin-cli $command failed ($status)" >&2; exit 1; }
    if [ -z "${best[$command]:-}" ] || (($(echo "$took < ${best[$command]}" | bc))); then
      best[$command]=$took
    fi
  done
done
"$cli" cycles --settings "$work/empty.INI" --search lib Project.dpr >"$work/out"
grep -m1 'cycle group' "$work/out"
printf '%-24s  %9s  %9s\n' command "best [s]" "x list"
for command in "${commands[@]}"; do
  printf '%-24s  %9.3f  %9.2f\n' "$command" "${best[$command]}" \
    "$(echo "${best[$command]} / ${best[list]}" | bc -l)"
done
