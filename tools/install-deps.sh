#!/usr/bin/env bash
# Installs what building and testing Tavrel needs on Debian 12 (as root).
# Does nothing when everything is already there.
set -euo pipefail
packages=(g++-mingw-w64-i686 cmake make wine wine32:i386 wine64 xvfb xauth xdotool zip unzip pev
          imagemagick fonts-wine fonts-dejavu-core googletest clang libclang-rt-14-dev
          nlohmann-json3-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
