#!/usr/bin/env bash
# Builds ravelin-cli.exe and the core tests for Windows (scripts/build-windows.sh) and tests
# them under Wine in a private prefix (build/wine-prefix): the core tests, the command line's
# tests (its table of runs, report files, jobs) against ravelin-cli.exe, and the demo's reports
# compared with the Linux build's (tests/windows/same-reports.sh). The Linux side (ravelin-cli
# and test_cli) comes from build/release, configured here only when it does not exist yet.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export LC_ALL=C WINEDEBUG=-all WINEPREFIX="$root/build/wine-prefix"
jobs=${RAVELIN_JOBS:-2}
bash scripts/deps.sh wine wine64 googletest

bash scripts/build-windows.sh -DRAVELIN_TESTS=ON
cmake --build build/windows -j"$jobs" --target test_common test_pascal test_linecount \
  test_settings test_units
if [ ! -f build/release/CMakeCache.txt ]; then
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DRAVELIN_GUI=OFF >/dev/null
fi
cmake --build build/release -j"$jobs" --target ravelin-cli test_cli

mkdir -p "$WINEPREFIX" build/windows/test-temp
wineboot --init >/dev/null 2>&1 || true
# Drive A: is "/": the tests' folders are named "A:/..." by the Windows build. Such a full name
# sorts before the unit names, as "/..." does on Linux ("C:/..." or "Z:/..." would sort among
# them: the root's row of a dependency table, and ties in a listing, would move).
ln -sfn / "$WINEPREFIX/dosdevices/a:"
for variable in TEMP TMP; do
  wine reg add 'HKCU\Environment' /v "$variable" /d "A:$(tr / '\\' <<<"$root/build/windows/test-temp")" \
    /f >/dev/null 2>&1
done

# Wine names Unix files and reads arguments in the Unix locale's encoding: UTF-8.
windows() { LC_ALL=C.UTF-8 wine "$@"; }

status=0
echo "== Core tests under Wine"
for module in common pascal linecount settings units; do
  log=build/windows/test_$module.log
  if windows "build/windows/tests/$module/test_$module.exe" --gtest_brief=1 >"$log" 2>&1; then
    echo "passed: $module"
  else
    status=1
    echo "FAILED: $module ($log)"
    grep -E '^\[  FAILED  \]' "$log" | sort -u || true
  fi
done

echo "== The command line's tests against ravelin-cli.exe under Wine"
# Every Cli test but the HTML page's two: they expect the Linux build's graph library to have
# drawn the picture, and the Windows build draws none.
if RAVELIN_CLI_PROGRAM="env LC_ALL=C.UTF-8 wine $root/build/windows/src/cli/ravelin-cli.exe" \
    RAVELIN_CLI_DRIVE=A: RAVELIN_SYSTEM_UNDER_TEST=windows \
    build/release/tests/cli/test_cli --gtest_filter='Cli.*:-Cli.TheHtmlPage*:Cli.Chromium*' --gtest_brief=1 \
    >build/windows/test_cli.log 2>&1; then
  echo "passed: cli"
else
  status=1
  echo "FAILED: cli (build/windows/test_cli.log)"
  grep -oE 'commands.txt:[0-9]+' build/windows/test_cli.log | sort -u || true
fi

echo "== The demo's reports: Windows equals Linux"
bash tests/windows/same-reports.sh build/release/src/cli/ravelin-cli \
  build/windows/src/cli/ravelin-cli.exe build/windows/same-reports || status=1
exit "$status"
