#!/usr/bin/env bash
# Builds tavrel.exe and every Windows test program into build/ (release),
# and prepares build/wineprefix. Usage: tools/build.sh [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
jobs=$(nproc 2>/dev/null || echo 2)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
if [ $# -gt 0 ]; then
  cmake --build "$build" -j"$jobs" --target "$@"
else
  cmake --build "$build" -j"$jobs"
fi
bash "$root/tools/wine-prefix.sh" "$build/wineprefix"
