#!/usr/bin/env bash
# Checks the release archive as a user and an auditor would see it:
#  - two builds of this commit in two build folders give the same bytes;
#  - it holds the programs, the manual, the examples, README.txt and the
#    licence, named with the project's one version, and SHA256SUMS matches;
#  - each shipped program carries the project's version in its version
#    resource, no link time, no build path, imports only known DLLs, and
#    the mitigations (ASLR with relocations, DEP, no SE handler), read with
#    pev's tools.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "release check FAILED: $*" >&2; exit 1; }

# The first build is the everyday one in build/ (tools/test.sh has just
# made it), the second a fresh one in another folder: one extra build.
one="$root/build"
two="$root/build-release-check"
rm -rf "$two"
bash "$root/tools/release.sh" --build-dir "$one" --dist "$two/dist-one" >/dev/null
bash "$root/tools/release.sh" --build-dir "$two" --dist "$two/dist" >/dev/null

version=$(sed -n 's/^project(Tavrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || fail "no project version in CMakeLists.txt"
name="tavrel-$version-win32.zip"
zip="$two/dist-one/$name"
[ -f "$zip" ] || fail "no $name"
cmp "$zip" "$two/dist/$name" || fail "two builds gave different archives"
cmp "$one/release/tavrel-$version/tavrel.exe" "$two/release/tavrel-$version/tavrel.exe" || fail "different tavrel.exe"
(cd "$two/dist-one" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"

# Contents: exactly what a user needs, under one folder named with the version.
expected=$( {
  echo "tavrel-$version/tavrel.exe"
  [ -f "$one/tavrel-lint.exe" ] && echo "tavrel-$version/tavrel-lint.exe"
  for text in manual.html README.txt LICENSE.txt; do echo "tavrel-$version/$text"; done
  (cd "$root" && ls examples/*.gui | sed "s|^|tavrel-$version/|")
} | LC_ALL=C sort)
actual=$(unzip -Z1 "$zip" | LC_ALL=C sort)
[ "$expected" = "$actual" ] || fail "archive holds:"$'\n'"$actual"$'\n'"expected:"$'\n'"$expected"

unpacked="$two/unpacked"
mkdir -p "$unpacked" && (cd "$unpacked" && unzip -q "$zip")
folder="$unpacked/tavrel-$version"
head -1 "$folder/README.txt" | grep -q "^Tavrel $version for Windows" || fail "README.txt names another version"
grep -q "<title>Tavrel v$version Manual</title>" "$folder/manual.html" || fail "manual names another version"

quad=$(echo "$version.0.0.0" | cut -d. -f1-4)
for exe in "$folder"/*.exe; do
  what=$(basename "$exe")
  # Version resource: the strings Windows shows in the file's properties.
  info=$(strings -a -el -n 2 "$exe" | sed -n '/^VS_VERSION_INFO$/,/^VarFileInfo$/p')
  field() { grep -A1 -x "$1" <<<"$info" | sed -n 2p; }
  [ "$(field FileVersion)" = "$quad" ] || fail "$what: FileVersion is $(field FileVersion)"
  [ "$(field ProductVersion)" = "$version" ] || fail "$what: ProductVersion is $(field ProductVersion)"
  [ "$(field ProductName)" = Tavrel ] || fail "$what: ProductName is $(field ProductName)"
  [ -n "$(field FileDescription)" ] || fail "$what: no FileDescription"
  readpe -h coff "$exe" | grep -q 'Date/time stamp: *0 ' || fail "$what: link time in the header"
  flags=$(readpe -h optional "$exe")
  for flag in DYNAMIC_BASE NX_COMPAT NO_SEH; do
    grep -q "IMAGE_DLLCHARACTERISTICS_$flag" <<<"$flags" || fail "$what: not marked $flag"
  done
  readpe -d "$exe" | grep -q 'IMAGE_DIRECTORY_ENTRY_BASERELOC' || fail "$what: relocations stripped (no ASLR)"
  security=$(pesec "$exe")
  grep -q '^ASLR: *yes' <<<"$security" && grep -q '^DEP/NX: *yes' <<<"$security" || fail "$what: pesec: $security"
  # Marked as having no SE handler, the image must register none: a write
  # to the head of the handler chain (fs:0) would end the process.
  ! i686-w64-mingw32-objdump -d "$exe" | grep -qE ',%fs:0x0$' || fail "$what: registers an SE handler"
  # Libraries the loader resolves before the program runs: only ones that
  # Windows 7 to 11 list as known DLLs, which always come from the system
  # folder (GNU ld cannot ask the loader to search only there).
  imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  for dll in $imports; do
    case "$dll" in
      advapi32.dll|comdlg32.dll|gdi32.dll|imm32.dll|kernel32.dll|msvcrt.dll|ole32.dll|oleaut32.dll|\
      psapi.dll|rpcrt4.dll|setupapi.dll|shell32.dll|shlwapi.dll|user32.dll|ws2_32.dll) ;;
      *) fail "$what imports $dll, which is not a known DLL: load it with LoadSystemLibrary" ;;
    esac
  done
  ! strings -a "$exe" | grep -qE "$root|/build/|/usr/" || fail "$what: holds a build path"
done

rm -rf "$two"
echo "Release check passed: $name"
