#!/usr/bin/env bash
# Builds Ravelin (ravelin-cli and the desktop window) and runs its main job on the bundled
# demo project (samples/demo): every report of the project printed by
# `ravelin-cli report Demo.dpr`. When a display is available (DISPLAY or WAYLAND_DISPLAY set)
# it then opens the window. Both work on a fresh copy of the demo (build/demo/project), so the
# files Ravelin leaves beside the sources (reports, Tallion.Files, Tallion.TXT) stay out of
# the checkout. Installs what it needs with apt-get, only when something is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export LC_ALL=C

# The build tools; Qt for the window, a font for its text, the desktop's opener for reports.
bash scripts/deps.sh build-essential cmake g++ libpugixml-dev nlohmann-json3-dev qt6-base-dev libgl-dev \
  fonts-dejavu-core xdg-utils

echo "== Building ravelin-cli and ravelin (build/demo)"
cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Release -DRAVELIN_TESTS=OFF >/dev/null
cmake --build build/demo -j"$(nproc)" >/dev/null
cli="$root/build/demo/src/cli/ravelin-cli"
app="$root/build/demo/src/app/ravelin"

project="$root/build/demo/project"
rm -rf "$project"
cp -r samples/demo "$project"

# Every report of the project: unit list, tree, dependencies and line counts.
echo "== ravelin-cli report Demo.dpr   (in a copy of samples/demo)"
(cd "$project" && "$cli" report Demo.dpr)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "== No display (DISPLAY and WAYLAND_DISPLAY unset): the window is not opened"
  exit 0
fi
echo "== Opening the window in $project:"
echo "   press Source Folder, pick the demo's files, then Line Count, Unit List, Unit Tree or"
echo "   Unit Depend; the report opens in the desktop's text viewer (Escape saves and closes)"
cd "$project"
exec "$app"
