#!/usr/bin/env bash
# Sets the display scale of a prepared Wine prefix: Wine takes the DPI from
# LogPixels under HKCU\Control Panel\Desktop and reads it when its
# wineserver starts, so the prefix's wineserver is stopped afterwards.
# Usage: tools/dpi-prefix.sh PREFIX_DIR DPI   (96 = 100 %, 144 = 150 %)
set -euo pipefail
prefix=$(realpath -m "$1")
dpi=$2
case "$dpi" in ''|*[!0-9]*) echo "DPI must be a number, e.g. 144" >&2; exit 2 ;; esac
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
