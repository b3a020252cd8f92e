#!/usr/bin/env bash
# Builds everything and runs every test: a warnings-as-errors build, the same tests under
# AddressSanitizer + UndefinedBehaviorSanitizer, short fuzzing runs, and the Windows build
# (cross-built with MinGW-w64) tested under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export LC_ALL=C

bash scripts/deps.sh build-essential cmake g++ libgtest-dev libgmock-dev libpugixml-dev \
  nlohmann-json3-dev clang libclang-rt-14-dev qt6-base-dev libgl-dev xauth libgit2-dev pkg-config git graphviz \
  libgraphviz-dev chromium g++-mingw-w64-x86-64-posix googletest wine wine64 zip

jobs=$(nproc)

echo "== Release build (-Wall -Wextra -Werror) and tests"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DRAVELIN_WERROR=ON >/dev/null
cmake --build build/release -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/release --output-on-failure -j"$jobs"

echo "== Sanitizer build (address, undefined) and tests"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DRAVELIN_SANITIZE=ON >/dev/null
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$root/tests/lsan.supp" QT_QPA_PLATFORM=offscreen ctest --test-dir build/asan --output-on-failure -j"$jobs"

echo "== Fuzzing"
bash fuzz/run.sh

echo "== Windows build (MinGW-w64) tested under Wine"
RAVELIN_JOBS="$jobs" bash scripts/test-windows.sh
echo "== All tests passed"
