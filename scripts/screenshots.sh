#!/usr/bin/env bash
# Saves pictures of the main window, the options dialog, the folder dialog, the warning dialog
# and the About box into docs/screenshots/. The program draws them itself on Qt's offscreen
# platform (no display needed); with --xvfb it runs under a virtual X server instead.
#   scripts/screenshots.sh [--xvfb] [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
use_xvfb=0
if [ "${1:-}" = "--xvfb" ]; then use_xvfb=1; shift; fi
build=${1:-build/screenshots}

bash scripts/deps.sh cmake g++ libpugixml-dev nlohmann-json3-dev qt6-base-dev fonts-dejavu-core
if [ "$use_xvfb" = 1 ]; then bash scripts/deps.sh xvfb xauth; fi

if [ ! -x "$build/src/app/ravelin-screenshots" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DRAVELIN_TESTS=OFF -DRAVELIN_GUI=ON >/dev/null
  cmake --build "$build" -j2 --target ravelin-screenshots
fi

out="$root/docs/screenshots"
mkdir -p "$out"
export LC_ALL=C
if [ "$use_xvfb" = 1 ]; then
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/src/app/ravelin-screenshots" "$out"
else
  QT_QPA_PLATFORM=offscreen "$build/src/app/ravelin-screenshots" "$out"
fi
ls -l "$out"
