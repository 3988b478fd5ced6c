#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: the Debian packages, then the Release build (preset
# release, build/) with its media.
set -euo pipefail

# Everything the build, the game and the tests need on a fresh Debian 12.
PACKAGES=(
  g++ make cmake pkg-config gettext
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libfluidsynth-dev
  librsvg2-dev libcairo2-dev zlib1g-dev libinih-dev
  fonts-dejavu-core timgm6mb-soundfont
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool openbox
  clang libclang-rt-14-dev
  x11-utils x11-xkb-utils time
  desktop-file-utils appstream mandoc lintian dpkg-dev file
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "tavi needs these Debian packages. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
fi

# The builds are described once, in CMakePresets.json.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
