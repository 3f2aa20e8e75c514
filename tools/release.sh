#!/usr/bin/env bash
# Builds the archive a Windows user downloads, dist/tavrel-VERSION-win32.zip,
# and dist/SHA256SUMS beside it. The same commit gives the same bytes
# wherever it is built: the programs hold no link time and no build path,
# and the archive's entries have fixed dates (the commit's), permissions
# and order, and no owner.
#
# Usage: tools/release.sh [--build-dir DIR] [--dist DIR]
#   --build-dir  where to build (default build-release/; reused when there)
#   --dist       where the archive goes (default dist/)
# Environment: SOURCE_DATE_EPOCH overrides the entries' date.
set -euo pipefail
export HOME="${HOME:-/root}"
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
dist="$root/dist"
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build=$(realpath -m "$2"); shift 2 ;;
    --dist) dist=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: $0 [--build-dir DIR] [--dist DIR]" >&2; exit 2 ;;
  esac
done
jobs=$(nproc 2>/dev/null || echo 2)
bash "$root/tools/install-deps.sh"

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$jobs" --target release_stage >/dev/null

stages=("$build"/release/tavrel-*)
[ ${#stages[@]} -eq 1 ] && [ -d "${stages[0]}" ] || { echo "no single release folder in $build/release" >&2; exit 1; }
name=$(basename "${stages[0]}")
zip="$dist/$name-win32.zip"

# Every entry is dated with the commit (never before 1980, where zip dates
# begin); zip dates are local time, so the time zone is fixed too.
export TZ=UTC
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}
[ "$epoch" -ge 315619200 ] || epoch=315619200
chmod -R u=rwX,go=rX "${stages[0]}"
find "${stages[0]}" -exec touch -h -d "@$epoch" {} +
mapfile -t files < <(cd "$build/release" && find "$name" -type f | LC_ALL=C sort)

# Info-ZIP's zip, not CMake's archiver: the latter (libarchive) stores each
# file's access and change times, which no one can set, so two builds never
# matched. -X leaves out those times and the owner, -D the folder entries.
mkdir -p "$dist"
rm -f "$zip"
(cd "$build/release" && zip -q -X -D -9 "$zip" "${files[@]}")
(cd "$dist" && sha256sum "$(basename "$zip")" >SHA256SUMS)
echo "$zip"
echo "$dist/SHA256SUMS"
