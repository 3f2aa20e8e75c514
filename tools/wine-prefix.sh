#!/usr/bin/env bash
# Prepares (once) the private 32-bit Wine prefix that tests and demos use.
# Usage: tools/wine-prefix.sh PREFIX_DIR
set -euo pipefail
prefix=$(realpath -m "$1")
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$prefix/.tavrel-ready" ]; then
  exit 0
fi
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
wineboot -i >/dev/null 2>&1 </dev/null
wineserver -w
# Without a window manager (Xvfb) Wine draws caption and frame itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# Debian leaves Wine's own fonts out of new prefixes.
mkdir -p "$prefix/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
# Windows has Lucida Console, the console window's font; Wine does not. A
# monospaced stand-in keeps the console looking like one.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
     /v 'Lucida Console' /d 'DejaVu Sans Mono' /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.tavrel-ready"
