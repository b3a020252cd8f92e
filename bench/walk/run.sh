#!/usr/bin/env bash
# The folder walk's benchmark, over Debian's Free Pascal sources (/usr/share/fpcsrc):
#   1. the walk with the extensions .pas .pp .inc must take exactly the files that
#      find /usr/share/fpcsrc -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.inc' \)
#      lists (the run stops when they differ);
#   2. times, warm page cache, several runs each: the walk alone (ravelin-walk-bench, one walk
#      per process), that find command, and cat of the same files (what a count must read);
#   3. the walk over a copy of the tree's layout (empty files) made a git repository with a
#      .gitignore, with its ignore rules and without (--no-ignore), timed inside one process.
# Environment: RUNS (default 20).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
export LC_ALL=C
runs=${RUNS:-20}

bash scripts/deps.sh build-essential cmake g++ pkg-config libgit2-dev libbenchmark-dev nlohmann-json3-dev git \
  fpc-source hyperfine

build=build/bench-walk
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DRAVELIN_TESTS=OFF -DRAVELIN_GUI=OFF \
  -DRAVELIN_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target ravelin-walk-bench >/dev/null
bench="$root/$build/bench/walk/ravelin-walk-bench"
tree=/usr/share/fpcsrc
work=$(mktemp -d "${TMPDIR:-/tmp}/ravelin-walk-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "== Same files as find"
"$bench" --list --ext .pas,.pp,.inc "$tree" | sort >"$work/walk.txt"
find "$tree" -type f \( -iname '*.pas' -o -iname '*.pp' -o -iname '*.inc' \) | sort >"$work/find.txt"
if ! cmp -s "$work/walk.txt" "$work/find.txt"; then
  diff "$work/walk.txt" "$work/find.txt" | head -20
  echo "The walk and find differ" >&2
  exit 1
fi
files=$(wc -l <"$work/find.txt")
bytes=$(xargs -d '\n' cat <"$work/find.txt" | wc -c)
echo "same $files files ($bytes bytes)"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

echo "== Walk, find and cat ($runs runs each)"
hyperfine --style basic --runs "$runs" --warmup 2 --export-csv "$work/times.csv" \
  -n walk "'$bench' --runs 1 --ext .pas,.pp,.inc '$tree'" \
  -n find "find '$tree' -type f \\( -iname '*.pas' -o -iname '*.pp' -o -iname '*.inc' \\)" \
  -n cat "xargs -d '\\n' cat <'$work/find.txt'" >/dev/null
echo "== The same walk $runs times in one process"
"$bench" --runs "$runs" --ext .pas,.pp,.inc "$tree"

echo "== A git repository of the same layout: with and without its ignore rules"
mirror="$work/mirror"
(cd "$tree" && find . -type d) | (cd "$work" && mkdir -p mirror && cd mirror && xargs -d '\n' mkdir -p)
(cd "$tree" && find . -type f) | (cd "$mirror" && xargs -d '\n' touch)
git -C "$mirror" init -q .
printf '*.o\n*.ppu\n/units/\nbackup/\n!keep.pp\n' >"$mirror/.gitignore"
with=$("$bench" --runs "$runs" --ext .pas,.pp,.inc "$mirror")
without=$("$bench" --runs "$runs" --ext .pas,.pp,.inc --no-ignore "$mirror")
echo "with rules:    $with"
echo "without rules: $without"

# CSV columns: command,mean,stddev,median,user,system,min,max (seconds).
awk -F, -v load="$load_before" -v w="$with" -v wo="$without" 'NR > 1 { median[$1] = $4 }
END {
  printf "\nload average before the runs: %s\n", load
  printf "median wall per process: walk %.4f s, find %.4f s, cat %.4f s\n",
    median["walk"], median["find"], median["cat"]
  printf "walk / find %.2f, walk / cat %.2f\n",
    median["walk"] / median["find"], median["walk"] / median["cat"]
  split(w, a, "median "); split(wo, b, "median ")
  printf "git rules cost: %.4f s with, %.4f s without\n", a[2] + 0, b[2] + 0
}' "$work/times.csv"
