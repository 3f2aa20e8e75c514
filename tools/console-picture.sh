#!/usr/bin/env bash
# Opens a form with build/tavrel.exe under Wine on a private X server,
# presses Run as the form stands, waits for the command to finish and saves
# a PNG of the console window. The program and the form are copied to
# C:\Tavrel first (helper programs the form names, to C:\Tavrel\tools), so
# no build path shows.
# Usage: tools/console-picture.sh FORM.gui OUT.png [PROGRAM...]
# With TAVREL_HISTORY_VALUES set (values separated by blanks), the form is
# run once per value (put in its first edit box) and the picture is of its
# "Run history" window instead.
# Environment: DPI, the display scale (default 96; 144 is 150 %). Another
# DPI than 96 uses a prefix of its own, build/wineprefix-dpiDPI, so the
# tests' prefix keeps 100 %.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 2 ] || { echo "usage: $0 FORM.gui OUT.png [PROGRAM...]" >&2; exit 2; }
form=$(realpath "$1")
out=$(realpath -m "$2")
shift 2
bash "$root/tools/build.sh" tavrel tavrel_demo >/dev/null
prefix="$root/build/wineprefix"
if [ "${DPI:-96}" != 96 ]; then
  prefix="$root/build/wineprefix-dpi$DPI"
  bash "$root/tools/wine-prefix.sh" "$prefix"
  bash "$root/tools/dpi-prefix.sh" "$prefix" "$DPI"
fi
source "$root/tools/neutral-folder.sh"
stage_in_neutral_folder "$prefix" "$root/build/tavrel.exe" "$form" "$@"
bmp="${out%.png}.bmp"
winpath() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
mode=(--run)
values=()
if [ -n "${TAVREL_HISTORY_VALUES:-}" ]; then
  mode=(--history)
  read -r -a values <<<"$TAVREL_HISTORY_VALUES"
fi
# with-display.sh runs Wine in "$prefix".
TAVREL_DEMO_EXE='C:\Tavrel\tavrel.exe' bash "$root/tools/with-display.sh" "$prefix" \
  wine "$root/build/testbin/tavrel_demo.exe" "${mode[@]}" \
  "C:\\Tavrel\\examples\\$(basename "$form")" "$(winpath "$bmp")" "${values[@]}"
convert "$bmp" "$out" && rm -f "$bmp"
echo "Saved $out"
