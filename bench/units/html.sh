#!/usr/bin/env bash
# Times the HTML report on synthetic projects: the page of ravelin-cli html, its wall time and
# its size, with the unit listing (ravelin-cli list) of the same project as the peer.
#   bench/units/html.sh [BUILD_DIR] [SIZES...]
# BUILD_DIR is a Release build configured with -DRAVELIN_BENCH=ON (default build/bench);
# SIZES default to 2000 units.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/bench}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(2000)
export LC_ALL=C
bash scripts/deps.sh time >/dev/null

cmake --build "$build" --target ravelin-units-bench ravelin-cli -j2 >/dev/null
bench="$PWD/$build/bench/units/ravelin-units-bench"
cli="$PWD/$build/src/cli/ravelin-cli"
work=$(mktemp -d "${TMPDIR:-/tmp}/ravelin-html-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

printf '%7s  %10s  %10s  %10s  %s\n' units "html [s]" "page [MB]" "list [s]" "picture"
for n in "${sizes[@]}"; do
  dir="$work/p$n"
  "$bench" generate "$dir" "$n" 1
  (cd "$dir" && /usr/bin/time -f %e -o "$work/html.txt" "$cli" html --no-settings -o "$work/page.html" Project.dpr 2>/dev/null)
  (cd "$dir" && /usr/bin/time -f %e -o "$work/list.txt" "$cli" list --no-settings Project.dpr >/dev/null 2>&1)
  size=$(stat -c %s "$work/page.html")
  picture=$(grep -o 'The graph has [0-9]* units[^<.]*' "$work/page.html" | head -1 || true)
  printf '%7s  %10s  %10.2f  %10s  %s\n' "$n" "$(cat "$work/html.txt")" \
    "$(echo "$size" | awk '{print $1 / 1048576}')" "$(cat "$work/list.txt")" "${picture:-full graph}"
  rm -rf "$dir"
done
