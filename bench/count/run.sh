#!/usr/bin/env bash
# The line counter's benchmark over Debian's Free Pascal sources (/usr/share/fpcsrc, about
# 9,200 files, 210 MB), in one run with a warm page cache:
#   ravelin-cli count --jobs 1 /usr/share/fpcsrc     (the folder walked, one file at a time)
#   ravelin-cli count /usr/share/fpcsrc              (the default: as many jobs as cores)
#   ravelin-cli count --list LIST                     (the same files from a find list)
#   cat FILES > /dev/null                             (one cat process reading the same files)
#   cloc --force-lang=Pascal --list-file=LIST         (a general line counter)
# First it checks that the folder walk and the find list give the same totals. Prints the
# medians and the ratios. Goals: the default at or under the time of cat, 100 times faster
# than cloc.
#
# Environment: RAVELIN_RUNS and CAT_RUNS (default 10), CLOC_RUNS (default 3).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
export LC_ALL=C

bash scripts/deps.sh build-essential cmake g++ pkg-config libgit2-dev libpugixml-dev \
  nlohmann-json3-dev fpc-source cloc hyperfine

build=build/bench-count
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DRAVELIN_TESTS=OFF -DRAVELIN_GUI=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target ravelin-cli >/dev/null
cli="$root/$build/src/cli/ravelin-cli"
tree=/usr/share/fpcsrc

work="$root/$build/data"
mkdir -p "$work"
list="$work/files.txt"
# The extensions count takes from a folder, ignoring case; find lists in its own order.
find "$tree" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.p' -o -iname '*.dpr' \
  -o -iname '*.dpk' -o -iname '*.lpr' -o -iname '*.inc' \) >"$list"
files=$(wc -l <"$list")
bytes=$(xargs -d '\n' cat <"$list" | wc -c)
echo "Input: $files files, $bytes bytes (list: $list)"

# The same totals from the walk and from the list (the JSON totals, file names aside).
"$cli" count --format json "$tree" | grep -A13 '"totals"' >"$work/walk-totals.txt"
"$cli" count --format json --list "$list" | grep -A13 '"totals"' >"$work/list-totals.txt"
if cmp -s "$work/walk-totals.txt" "$work/list-totals.txt"; then
  echo "Totals: the walk of $tree and the find list agree"
else
  echo "Totals DIFFER between the walk and the find list:" >&2
  diff "$work/walk-totals.txt" "$work/list-totals.txt" >&2 || true
  exit 1
fi
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

runs=${RAVELIN_RUNS:-10}
echo "== ravelin-cli count --jobs 1 DIR ($runs runs)"
read -r one one_cpu < <(run one "$runs" 1 "'$cli' count --jobs 1 '$tree' >/dev/null")
echo "== ravelin-cli count DIR ($runs runs, $(nproc) cores)"
read -r dflt dflt_cpu < <(run default "$runs" 1 "'$cli' count '$tree' >/dev/null")
echo "== ravelin-cli count --list ($runs runs)"
read -r lst lst_cpu < <(run list "$runs" 1 "'$cli' count --list '$list' >/dev/null")
echo "== cat, one process (${CAT_RUNS:-10} runs)"
# xargs with the largest command line the system allows: one cat for all files.
read -r cat_time cat_cpu < <(run cat "${CAT_RUNS:-10}" 1 \
  "xargs -d '\\n' -s 2000000 cat <'$list' >/dev/null")
echo "== cloc --force-lang=Pascal --list-file (${CLOC_RUNS:-3} runs)"
read -r cloc_time cloc_cpu < <(run cloc "${CLOC_RUNS:-3}" 0 \
  "cloc --force-lang=Pascal --list-file='$list' >/dev/null")

awk -v o="$one" -v d="$dflt" -v l="$lst" -v c="$cloc_time" -v k="$cat_time" \
  -v oc="$one_cpu" -v dc="$dflt_cpu" -v lc="$lst_cpu" -v cc="$cloc_cpu" -v kc="$cat_cpu" \
  -v files="$files" -v bytes="$bytes" -v load="$load_before" -v cores="$(nproc)" 'BEGIN {
  printf "\n%d files, %d bytes; %d cores; load average before the runs: %s\n", files, bytes, cores, load
  printf "                               median wall   mean CPU (user+system)\n"
  printf "  ravelin-cli count --jobs 1   %9.3f s   %9.3f s\n", o, oc
  printf "  ravelin-cli count (default)  %9.3f s   %9.3f s\n", d, dc
  printf "  ravelin-cli count --list     %9.3f s   %9.3f s\n", l, lc
  printf "  cat                          %9.3f s   %9.3f s\n", k, kc
  printf "  cloc                         %9.3f s   %9.3f s\n", c, cc
  printf "Ratios (wall):\n"
  printf "  default / cat      %7.2f   (goal: at most 1)     %s\n", d / k, (d / k <= 1 ? "met" : "MISSED")
  printf "  --jobs 1 / cat     %7.2f\n", o / k
  printf "  --jobs 1 / default %7.2f\n", o / d
  printf "  cloc / default     %7.1f   (goal: at least 100)  %s\n", c / d, (c / d >= 100 ? "met" : "MISSED")
}'
