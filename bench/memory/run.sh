#!/usr/bin/env bash
# Peak memory and time of ravelin-cli on inputs that must stream, beside the time of reading
# the same input with cat:
#   a unit of 44 MB (dense code, a uses clause in each section) through `list`,
#   a list file of 20 M empty lines through `count --list`,
#   a report file of 2 GiB (sparse) that `count --report` appends to,
#   a settings file of 100 MB (empty lines) through `list --settings`.
#   bench/memory/run.sh [BUILD_DIR]
# BUILD_DIR holds a Release build (default build/release). The inputs are made in a temporary
# folder (about 170 MB of disk) and removed at the end.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
cli="$(pwd)/$build/src/cli/ravelin-cli"
[ -x "$cli" ] || cli="$build/src/cli/ravelin-cli"
export LC_ALL=C
bash scripts/deps.sh time >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/ravelin-memory-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
{
  printf 'unit Dense;\n\ninterface\n\nuses SysUtils, Classes, Helper;\n\nimplementation\n\n'
  printf 'uses Other;\n\nprocedure P;\nbegin\n'
  (yes '  a:=b+c*(d-1);x[2]:=y;f(a,b,c);' || true) | head -c 44000000
  printf '\nend;\n\nend.\n'
} >Dense.pas
printf 'unit Helper;\ninterface\nuses Classes;\nimplementation\nend.\n' >Helper.pas
printf 'unit Alpha;\r\nend.\r\n' >Alpha.pas
{ echo Alpha.pas; head -c 20000000 /dev/zero | tr '\0' '\n'; } >blank.files
truncate -s 2G report.txt
{ printf '[LAST]\nUse RTL=1\n'; head -c 100000000 /dev/zero | tr '\0' '\n'; } >big.ini

measure() {  # name input command...
  local name=$1 input=$2
  shift 2
  /usr/bin/time -v "$@" >/dev/null 2>time.txt || { cat time.txt; exit 1; }
  local wall peak start cat_time
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' time.txt)
  peak=$(awk -F': ' '/Maximum resident set size/ {printf "%.1f", $2 / 1024}' time.txt)
  start=$(date +%s%N)
  cat "$input" >/dev/null
  cat_time=$(( ($(date +%s%N) - start) / 1000000 ))
  printf '%-34s %10s %10s %10s\n' "$name" "$wall" "$peak" "$cat_time"
}
printf '%-34s %10s %10s %10s\n' case "wall" "peak [MB]" "cat [ms]"
measure "list, 44 MB unit" Dense.pas "$cli" list Dense.pas
measure "count --list, 20 M empty lines" blank.files "$cli" count --list blank.files
measure "count --report, 2 GiB report" Alpha.pas "$cli" count --report report.txt Alpha.pas
measure "list --settings, 100 MB" big.ini "$cli" list --settings big.ini Alpha.pas
