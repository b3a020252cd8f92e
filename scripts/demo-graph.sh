#!/usr/bin/env bash
# Draws the demo project's uses graph into docs/demo-uses.svg and prints its cycles report, as
# the README shows them: ravelin-cli graph and cycles on a copy of samples/demo, its folder
# written as /home/me/stock/ (the report's title centred again), the graph drawn by Graphviz.
#   scripts/demo-graph.sh [BUILD_DIR]   (a build holding src/cli/ravelin-cli; default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build/release}
export LC_ALL=C TZ=UTC
bash scripts/deps.sh graphviz
cmake --build "$build" --target ravelin-cli -j2 >/dev/null
cli="$root/$build/src/cli/ravelin-cli"

work=$(mktemp -d "${TMPDIR:-/tmp}/ravelin-demo-graph-XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r samples/demo "$work/stock"
printf '[LAST]\r\n' >"$work/empty.INI"
cd "$work/stock"
"$cli" graph --settings "$work/empty.INI" Demo.dpr | sed "s#$work/stock/#/home/me/stock/#g" >"$work/demo.dot"
dot -Tsvg "$work/demo.dot" -o "$root/docs/demo-uses.svg"
"$cli" cycles --settings "$work/empty.INI" --eol lf Demo.dpr |
  sed -E "s#$work/stock/#/home/me/stock/#g; s#RAVELIN REPORT .{20}#RAVELIN REPORT 2026 Dec 06 @ 18:00#" |
  awk '/^ +Unit Cycles for / { t = $0; gsub(/^ +| +$/, "", t); e = int((100 - length(t) + 1) / 2)
         printf "%*s%s%*s\n", e, "", t, e, ""; next } { print }'
echo "wrote docs/demo-uses.svg" >&2
