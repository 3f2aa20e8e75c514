#!/usr/bin/env bash
# Tavrel's main job, end to end, under Wine: opens examples/list-folder.gui,
# fills the folder field, ticks options, presses Run, waits for the command
# to finish in the console window, and saves out/form.png and
# out/console.png. Runs headless in a private X server.
set -euo pipefail
export HOME="${HOME:-/root}"
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/install-deps.sh"
bash "$root/tools/build.sh" tavrel tavrel_demo

winpath() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
out="$root/out"
mkdir -p "$out"
rm -f "$out"/form.bmp "$out"/console.bmp

# Run from C:\Tavrel, as a user who unzipped it there would.
source "$root/tools/neutral-folder.sh"
stage_in_neutral_folder "$root/build/wineprefix" "$root/build/tavrel.exe" "$root/examples/list-folder.gui"
TAVREL_DEMO_EXE='C:\Tavrel\tavrel.exe' bash "$root/tools/with-display.sh" "$root/build/wineprefix" \
  "$root/build/wine-run.sh" "$root/build/testbin/tavrel_demo.exe" \
  'C:\Tavrel\examples\list-folder.gui' 'C:\windows' "$(winpath "$out")"

for picture in form console; do
  convert "$out/$picture.bmp" "$out/$picture.png" && rm -f "$out/$picture.bmp"
  echo "Saved $out/$picture.png"
done
