#!/usr/bin/env bash
# The demo's count, list, tree, depend and report from ravelin-cli.exe under Wine must equal
# the Linux build's, byte for byte, the report banners' date and time aside. Both run on a copy
# of samples/demo (file times kept) in folders whose full names are equally long: the Linux one
# under WORK/l, the Windows one on a drive A: that Wine maps to WORK/w. (The root file's full
# name is its key in the dependency table, sorted among the unit names: "/" and "A:" both sort
# before every letter, another drive letter would move the root's row.)
# Usage: tests/windows/same-reports.sh LINUX_CLI WINDOWS_EXE WORK   (WINEPREFIX set, made)
set -euo pipefail
linux_cli=$(realpath "$1")
windows_exe=$(realpath "$2")
work=$(realpath -m "$3")
demo=$(realpath "$(dirname "$0")/../../samples/demo")
export WINEDEBUG=-all LC_ALL=C

rm -rf "$work"
pad=$(printf 'p%.0s' $(seq 1 $((${#work} - 1))))  # "A:/" + pad is as long as WORK + "/l"
mkdir -p "$work/l" "$work/w/$pad"
cp -rp "$demo" "$work/l/demo"
cp -rp "$demo" "$work/w/$pad/demo"
ln -sfn "$work/w" "$WINEPREFIX/dosdevices/a:"

# The banners' time goes; each copy's folder (names of equal length) is written as {demo}.
mask() {
  sed -E -e 's/RAVELIN REPORT [0-9]{4} [A-Za-z]{3} [0-9]{2} @ [0-9]{2}:[0-9]{2}/RAVELIN REPORT (time)/' \
    -e "s|$1|{demo}|g"
}

failed=0
for command in "count *.pas *.dpr" "list Demo.dpr" "tree Demo.dpr" "depend Demo.dpr" \
    "report Demo.dpr"; do
  name=${command%% *}
  # shellcheck disable=SC2086  # the command's words are split on purpose
  (cd "$work/l/demo" && "$linux_cli" $command 2>/dev/null | mask "$work/l/demo" >"$work/$name.linux") || true
  # Under Wine the program starts in A:, on the Windows copy.
  wine cmd /c "cd /d A:\\$pad\\demo && $(winepath -w "$windows_exe") $command" 2>/dev/null |
    mask "A:/$pad/demo" >"$work/$name.windows" || true
  if cmp -s "$work/$name.linux" "$work/$name.windows"; then
    echo "same: $command"
  else
    failed=1
    line=$(cmp "$work/$name.linux" "$work/$name.windows" 2>&1 | sed -nE 's/.*line ([0-9]+).*/\1/p' || true)
    echo "DIFFERENT: $command (first differing line ${line:-?})"
    echo "  linux:   $(sed -n "${line:-1}p" "$work/$name.linux")"
    echo "  windows: $(sed -n "${line:-1}p" "$work/$name.windows")"
  fi
done
exit "$failed"
