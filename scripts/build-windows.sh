#!/usr/bin/env bash
# Cross-builds ravelin-cli.exe for 64-bit Windows with MinGW-w64 (posix threads, linked
# statically: no DLL beside it) into build/windows. The window is not built (Debian packages
# no Qt for Windows), nor the .gitignore rules (no libgit2 for MinGW), nor project files and
# GraphML (no pugixml for MinGW).
# Usage: scripts/build-windows.sh [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh g++-mingw-w64-x86-64-posix nlohmann-json3-dev cmake zip

build=build/windows
# nlohmann-json is header-only: only its own folder goes on the cross compiler's path, never
# the host's /usr/include.
mkdir -p "$build/json-include"
ln -sfn /usr/include/nlohmann "$build/json-include/nlohmann"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/MingwW64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DRAVELIN_GUI=OFF -DRAVELIN_TESTS=OFF -DRAVELIN_GIT=OFF -DRAVELIN_GRAPHVIZ=OFF \
  -DRAVELIN_JSON_INCLUDE="$(pwd)/$build/json-include" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  "$@" >/dev/null
cmake --build "$build" -j"${RAVELIN_JOBS:-2}" --target ravelin-cli
echo "Built $build/src/cli/ravelin-cli.exe"
# The release zip: ravelin-cli.exe (stripped) and the README. Packing builds nothing more (the
# tests, when configured, are built by whoever runs them, in parallel).
(cd "$build" && cpack -G ZIP >/dev/null)
ls -l "$build"/ravelin-*-windows-x86_64.zip
