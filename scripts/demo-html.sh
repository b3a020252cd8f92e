#!/usr/bin/env bash
# Writes the demo project's HTML report and its picture in docs/demo-html.png, as the README
# shows it: ravelin-cli html on a copy of samples/demo, its folder written as /home/me/stock/,
# the page drawn by headless Chromium.
#   scripts/demo-html.sh [BUILD_DIR]   (a build holding src/cli/ravelin-cli; default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build/release}
export LC_ALL=C TZ=UTC
bash scripts/deps.sh chromium
cmake --build "$build" --target ravelin-cli -j2 >/dev/null
cli="$root/$build/src/cli/ravelin-cli"

work=$(mktemp -d "${TMPDIR:-/tmp}/ravelinhtml.XXXXXX")  # no "-": the picture writes it as &#45;
trap 'rm -rf "$work"' EXIT
cp -r samples/demo "$work/stock"
printf '[LAST]\r\n' >"$work/empty.INI"
cd "$work/stock"
"$cli" html --settings "$work/empty.INI" --output "$work/raw.html" Demo.dpr 2>/dev/null
sed "s#$work/stock/#/home/me/stock/#g" "$work/raw.html" >"$work/demo.html"
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$work/profile" \
  --window-size=1200,2300 --screenshot="$root/docs/demo-html.png" "file://$work/demo.html" \
  >/dev/null 2>&1
echo "wrote docs/demo-html.png" >&2
