#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the build needs (only the missing
# ones), then configures and builds the given CMake presets. Quick when nothing changed.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ pkg-config ccache qt6-base-dev qt6-base-dev-tools
          librtmidi-dev libjack-jackd2-dev jackd2 xvfb xauth x11-utils xdotool imagemagick
          fonts-dejavu-core fonts-crosextra-carlito fonts-liberation2 libqt6sql6-sqlite
          python3 dpkg-dev lintian)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  # As root apt-get runs directly; otherwise through sudo, keeping the environment.
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo -E)
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

for preset in "$@"; do
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
