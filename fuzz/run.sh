#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each for a short fixed
# time on its seed corpus. Any crash, leak, hang or sanitizer report fails the run.
#   FUZZ_SECONDS_FORMCONV / FUZZ_SECONDS_SCANNER / FUZZ_SECONDS_DIRECTIVES override the times.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRAVELIN_FUZZ=ON -DRAVELIN_TESTS=OFF -DRAVELIN_GUI=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)"

# The converter's seeds as our own form writer makes them today, beside the stored corpus.
mkdir -p build/fuzz/corpus-fuzz_formconv
build/fuzz/fuzz/make_form_seeds build/fuzz/corpus-fuzz_formconv

run_fuzzer() {
  local name=$1 seconds=$2 corpus=$3
  local bin=build/fuzz/fuzz/$name
  [ -x "$bin" ] || return 0
  local work=build/fuzz/corpus-$name
  mkdir -p "$work"
  echo "-- $name for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/ "$work" "$corpus" 2>&1 | tail -n 15
  return "${PIPESTATUS[0]}"
}

run_fuzzer fuzz_formconv "${FUZZ_SECONDS_FORMCONV:-60}" fuzz/corpus/formconv
run_fuzzer fuzz_scanner "${FUZZ_SECONDS_SCANNER:-30}" fuzz/corpus/scanner
run_fuzzer fuzz_directives "${FUZZ_SECONDS_DIRECTIVES:-20}" fuzz/corpus/directives
