#!/usr/bin/env bash
# Opens a form with build/tavrel.exe under Wine on a private X server,
# presses Run as the form stands, waits for the command to finish and saves
# a PNG of the console window. Usage: tools/console-picture.sh FORM.gui OUT.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 2 ] || { echo "usage: $0 FORM.gui OUT.png" >&2; exit 2; }
bash "$root/tools/build.sh" tavrel tavrel_demo >/dev/null
winpath() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
out=$(realpath -m "$2")
bmp="${out%.png}.bmp"
bash "$root/tools/with-display.sh" "$root/build/wineprefix" \
  "$root/build/wine-run.sh" "$root/build/testbin/tavrel_demo.exe" --run \
  "$(winpath "$1")" "$(winpath "$bmp")"
convert "$bmp" "$out" && rm -f "$bmp"
echo "Saved $out"
