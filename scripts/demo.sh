#!/usr/bin/env bash
# Builds ravelin-cli and runs Ravelin's main job on the bundled demo project (samples/demo),
# printing the reports. When a display is available (DISPLAY or WAYLAND_DISPLAY set) it then
# builds the desktop window too and opens it on a copy of the demo project (build/demo/project),
# so that the reports it writes stay out of the checkout. Installs what it needs with
# apt-get (only when something is missing).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export LC_ALL=C

window=0
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then window=1; fi

packages=(build-essential cmake g++)
gui=OFF
if [ "$window" = 1 ]; then
  # Qt for the window, a font for its text, and the desktop's opener for the reports.
  packages+=(qt6-base-dev libgl-dev fonts-dejavu-core xdg-utils)
  gui=ON
fi
bash scripts/deps.sh "${packages[@]}"

echo "== Building ravelin-cli"
cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Release -DRAVELIN_TESTS=OFF -DRAVELIN_GUI="$gui" \
  >/dev/null
cmake --build build/demo -j"$(nproc)" --target ravelin-cli >/dev/null
cli="$root/build/demo/src/cli/ravelin-cli"

if "$cli" report --help >/dev/null 2>&1; then
  # Every report of the project: unit list, tree, dependencies and line counts.
  echo "== ravelin-cli report samples/demo/Demo.dpr"
  "$cli" report samples/demo/Demo.dpr
else
  # The line counter over the demo's project file, include file and units (the one in sub/
  # named the way the project file names it: a backslash and other letter case than on disk).
  (
    cd samples/demo
    files=(Demo.dpr Demo.inc *.pas 'Sub\StockData.pas')
    echo "== ravelin-cli count ${files[*]}   (in samples/demo)"
    "$cli" count "${files[@]}"
    echo "== ravelin-cli count --summary '*.pas'   (in samples/demo)"
    "$cli" count --summary '*.pas'
    # A binary form is counted through the scratch file Tallion.TXT in the current folder.
    rm -f Tallion.TXT
  )
fi

if [ "$window" = 0 ]; then
  echo "== No display (DISPLAY and WAYLAND_DISPLAY unset): the window is not opened"
  exit 0
fi

echo "== Building the window (ravelin)"
cmake --build build/demo -j"$(nproc)" --target ravelin >/dev/null
app="$root/build/demo/src/app/ravelin"
# The window writes its reports and its list file into the source folder: a fresh copy.
project="$root/build/demo/project"
rm -rf "$project"
cp -r samples/demo "$project"
echo "== Opening the window in $project:"
echo "   press Source Folder, pick the demo's files, then Line Count, Unit List, Unit Tree or"
echo "   Unit Depend; the report opens in the desktop's text viewer (Escape saves and closes)"
cd "$project"
exec "$app"
