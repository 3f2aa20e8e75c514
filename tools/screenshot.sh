#!/usr/bin/env bash
# Opens a form with the built tavrel.exe under Wine on a private X server and
# saves a PNG of the form window, frame and caption included. Program and
# form are copied to C:\Tavrel first, so no build path shows.
#
# Usage: tools/screenshot.sh FORM.gui OUT.png [SECONDS]
#   SECONDS  how long to let the form paint once it is shown (default 1)
# Environment:
#   TAVREL_EXE         the program (default: build/tavrel.exe, else the newest
#                      build*/tavrel.exe of this repository)
#   TAVREL_WINEPREFIX  the Wine prefix (default: wineprefix-screenshot beside
#                      the program; prepared by tools/wine-prefix.sh). Its own
#                      prefix, because its Wine processes are stopped at the end.
#   SCREEN             X screen geometry (default 1280x1024x24)
#   DPI                display scale of the prefix (default 96; 144 is 150 %).
#                      Another DPI than 96 uses a prefix of its own
#                      (wineprefix-screenshot-dpiDPI), so the default one
#                      keeps 100 %.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 FORM.gui OUT.png [SECONDS]" >&2
  exit 2
fi
repo=$(cd "$(dirname "$0")/.." && pwd)
form=$(realpath "$1")
out=$(realpath -m "$2")
settle=${3:-1}
[ -f "$form" ] || { echo "no such form: $form" >&2; exit 2; }

exe=${TAVREL_EXE:-}
if [ -z "$exe" ]; then
  if [ -f "$repo/build/tavrel.exe" ]; then
    exe="$repo/build/tavrel.exe"
  else
    exe=$(ls -t "$repo"/build*/tavrel.exe 2>/dev/null | head -1 || true)
  fi
fi
[ -n "$exe" ] && [ -f "$exe" ] || { echo "tavrel.exe not found; set TAVREL_EXE" >&2; exit 2; }
exe=$(realpath "$exe")

dpi=${DPI:-96}
default_prefix=$(dirname "$exe")/wineprefix-screenshot
[ "$dpi" = 96 ] || default_prefix="$default_prefix-dpi$dpi"
export WINEPREFIX=${TAVREL_WINEPREFIX:-$default_prefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
bash "$repo/tools/wine-prefix.sh" "$WINEPREFIX"
bash "$repo/tools/dpi-prefix.sh" "$WINEPREFIX" "$dpi"
# Wine's desktop process stays bound to the X server it started on.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

mkdir -p "$(dirname "$out")"
rm -f "$out"
# Opened as a user would: from C:\Tavrel, never from the build folder.
source "$repo/tools/neutral-folder.sh"
stage_in_neutral_folder "$WINEPREFIX" "$exe" "$form"

# The part that needs the display runs inside xvfb-run.
inner=$(mktemp)
trap 'rm -f "$inner"; wineserver -k 2>/dev/null || true' EXIT
cat >"$inner" <<'EOF'
set -u
exe=$1 form=$2 out=$3 settle=$4
log=$(mktemp)
wine 'C:\Tavrel\tavrel.exe' "C:\\Tavrel\\examples\\$(basename "$form")" >"$log" 2>&1 &
pid=$!
cleanup() {
  kill "$pid" 2>/dev/null || true
  rm -f "$log"
}
trap cleanup EXIT

# Wait (at most 60 s) until the program shows a window. Wine names the X
# window after the process that owns it, so search by process first and by
# the window's title as a fallback.
window=""
title=$(head -1 "$form" | tr -d '\r')
for _ in $(seq 1 600); do
  window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -1 || true)
  if [ -z "$window" ] && [ -n "$title" ]; then
    window=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | tail -1 || true)
  fi
  [ -n "$window" ] && break
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "tavrel.exe ended before showing a window; its output:" >&2
    cat "$log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "no window appeared within 60 s" >&2
  exit 1
fi
sleep "$settle"
import -window "$window" "$out"
# Escape closes the form; the prefix's processes are stopped afterwards anyway.
xdotool key --window "$window" Escape 2>/dev/null || true
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
EOF
(cd "$neutral_unix" &&
  timeout 180 xvfb-run -a -s "-screen 0 ${SCREEN:-1280x1024x24}" bash "$inner" "$exe" "$form" "$out" "$settle")
[ -f "$out" ] || { echo "no screenshot taken" >&2; exit 1; }
echo "$out"
