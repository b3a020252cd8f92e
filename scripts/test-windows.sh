#!/usr/bin/env bash
# Builds ravelin-cli.exe and the core tests for Windows (scripts/build-windows.sh), runs the
# tests under Wine in a private prefix (build/wine-prefix), and compares the demo's reports
# under Wine with the Linux build's (tests/windows/same-reports.sh). Not yet part of
# scripts/test.sh: some core tests still fail under Windows (see the README's Windows section).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export LC_ALL=C WINEDEBUG=-all WINEPREFIX="$root/build/wine-prefix"
bash scripts/deps.sh wine wine64 googletest

bash scripts/build-windows.sh -DRAVELIN_TESTS=ON
cmake --build build/windows -j"${RAVELIN_JOBS:-2}" --target test_common test_pascal test_linecount \
  test_settings test_units
mkdir -p "$WINEPREFIX"
wineboot --init >/dev/null 2>&1 || true
# The tests' temporary folders go on drive A: (build/windows/test-temp): a full name such as
# "A:/ravelin-units-x/A.pas" sorts before the unit names as "/tmp/..." does on Linux, where
# "C:/users/..." would sort among them.
mkdir -p build/windows/test-temp
ln -sfn "$root/build/windows/test-temp" "$WINEPREFIX/dosdevices/a:"
for variable in TEMP TMP; do
  wine reg add 'HKCU\Environment' /v "$variable" /d 'A:\' /f >/dev/null 2>&1
done

echo "== Core tests under Wine"
status=0
for module in common pascal linecount settings units; do
  if wine "build/windows/tests/$module/test_$module.exe" --gtest_brief=1 >"build/windows/test_$module.log" 2>&1; then
    echo "passed: $module"
  else
    status=1
    echo "FAILED: $module (build/windows/test_$module.log)"
    grep -E '^\[  FAILED  \]' "build/windows/test_$module.log" | sort -u || true
  fi
done

echo "== The demo's reports: Windows equals Linux"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DRAVELIN_GUI=OFF >/dev/null
cmake --build build/release -j"${RAVELIN_JOBS:-2}" --target ravelin-cli
bash tests/windows/same-reports.sh build/release/src/cli/ravelin-cli \
  build/windows/src/cli/ravelin-cli.exe build/windows/same-reports || status=1
exit "$status"
