#!/usr/bin/env bash
# The line counter's benchmark: every *.pas, *.pp and *.inc file of Debian's Free Pascal
# sources (/usr/share/fpcsrc, about 9,200 files, 210 MB), counted by
#   ravelin-cli count --list LIST                       (the detailed report, to /dev/null)
#   cloc --force-lang=Pascal --list-file=LIST            (a general line counter)
#   cat FILES > /dev/null                                 (reading the files and nothing else)
# several runs each with a warm page cache; prints the medians and the ratios.
# Targets: at least 50 times faster than cloc, at most 3 times the time of cat.
#
# Environment: RAVELIN_RUNS and CAT_RUNS (default 10), CLOC_RUNS (default 3).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
export LC_ALL=C

bash scripts/deps.sh build-essential cmake g++ libpugixml-dev nlohmann-json3-dev fpc-source cloc hyperfine

build=build/bench-count
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DRAVELIN_TESTS=OFF -DRAVELIN_GUI=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target ravelin-cli >/dev/null
cli="$root/$build/src/cli/ravelin-cli"

work="$root/$build/data"
mkdir -p "$work"
list="$work/files.txt"
find /usr/share/fpcsrc -type f \( -name '*.pas' -o -name '*.pp' -o -name '*.inc' \) | sort >"$list"
files=$(wc -l <"$list")
bytes=$(xargs -d '\n' cat <"$list" | wc -c)
echo "Input: $files files, $bytes bytes (list: $list)"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# Warm the page cache so that every tool reads from memory.
xargs -d '\n' cat <"$list" >/dev/null

run() {  # run NAME RUNS WARMUP COMMAND; prints "median-wall-seconds mean-cpu-seconds"
  local name=$1 runs=$2 warmup=$3 command=$4
  hyperfine --style basic --runs "$runs" --warmup "$warmup" --export-csv "$work/$name.csv" \
    "$command" >&2
  # CSV columns: command,mean,stddev,median,user,system,min,max (seconds); the command may
  # hold commas, so the columns are counted from the end.
  tail -n 1 "$work/$name.csv" | awk -F, '{ print $(NF-4), $(NF-3) + $(NF-2) }'
}

echo "== ravelin-cli count --list (${RAVELIN_RUNS:-10} runs)"
read -r ravelin ravelin_cpu < <(run ravelin "${RAVELIN_RUNS:-10}" 1 \
  "'$cli' count --list '$list' >/dev/null")
echo "== cat (${CAT_RUNS:-10} runs)"
read -r cat_time cat_cpu < <(run cat "${CAT_RUNS:-10}" 1 \
  "xargs -d '\\n' cat <'$list' >/dev/null")
echo "== cloc --force-lang=Pascal --list-file (${CLOC_RUNS:-3} runs)"
read -r cloc_time cloc_cpu < <(run cloc "${CLOC_RUNS:-3}" 0 \
  "cloc --force-lang=Pascal --list-file='$list' >/dev/null")

awk -v r="$ravelin" -v c="$cloc_time" -v k="$cat_time" \
  -v rc="$ravelin_cpu" -v cc="$cloc_cpu" -v kc="$cat_cpu" \
  -v files="$files" -v bytes="$bytes" -v load="$load_before" 'BEGIN {
  printf "\n%d files, %d bytes; load average before the runs: %s\n", files, bytes, load
  printf "                     median wall   mean CPU (user+system)\n"
  printf "  ravelin-cli count  %9.3f s   %9.3f s\n", r, rc
  printf "  cloc               %9.3f s   %9.3f s\n", c, cc
  printf "  cat                %9.3f s   %9.3f s\n", k, kc
  printf "Ratios (wall, CPU):\n"
  printf "  cloc / ravelin     %7.1f  %7.1f   (target: at least 50)  %s\n", c / r, cc / rc, \
    (c / r >= 50 ? "met" : "MISSED")
  printf "  ravelin / cat      %7.2f  %7.2f   (target: at most 3)    %s\n", r / k, rc / kc, \
    (r / k <= 3 ? "met" : "MISSED")
}'
