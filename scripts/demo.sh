#!/usr/bin/env bash
# Builds ravelin-cli and runs Ravelin's main job on the bundled demo project (samples/demo),
# printing the reports. Installs what it needs with apt-get (only when something is missing).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export LC_ALL=C

bash scripts/deps.sh build-essential cmake g++

echo "== Building ravelin-cli"
cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Release -DRAVELIN_TESTS=OFF -DRAVELIN_GUI=OFF >/dev/null
cmake --build build/demo -j"$(nproc)" --target ravelin-cli >/dev/null
cli="$root/build/demo/src/cli/ravelin-cli"

if "$cli" report --help >/dev/null 2>&1; then
  # Every report of the project: unit list, tree, dependencies and line counts.
  echo "== ravelin-cli report samples/demo/Demo.dpr"
  "$cli" report samples/demo/Demo.dpr
else
  # The line counter over the demo's project file, include file and units (the one in sub/
  # named the way the project file names it: a backslash and other letter case than on disk).
  cd samples/demo
  files=(Demo.dpr Demo.inc *.pas 'Sub\StockData.pas')
  echo "== ravelin-cli count ${files[*]}   (in samples/demo)"
  "$cli" count "${files[@]}"
  echo "== ravelin-cli count --summary '*.pas'   (in samples/demo)"
  "$cli" count --summary '*.pas'
  # A binary form is counted through the scratch file Tallion.TXT in the current folder.
  rm -f Tallion.TXT
fi
