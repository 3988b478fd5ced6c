#!/usr/bin/env bash
# Installs the Debian packages of a fresh Debian 12 that the game needs to build and run
# (run.sh); with --tests also those of the test suite, the fuzzers and the benchmarks (test.sh).
# Not as root, it prints the apt-get line and fails instead. The package route (scripts/package.sh)
# installs its own.
#
#   scripts/setup.sh [--tests]
set -euo pipefail

# The game: compiler, build tools, the libraries and what mediagen makes the media with, the font
# and the soundfont it opens at run time.
PACKAGES=(
  g++ make cmake pkg-config gettext
  libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev libstb-dev
  librsvg2-dev libcairo2-dev zlib1g-dev
  fonts-dejavu-core timgm6mb-soundfont
)
# The tests: GoogleTest, Google Benchmark, clang and libFuzzer, an X server to drive, the
# validators of the installed metadata.
TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool openbox x11-utils x11-xkb-utils time
  clang libclang-rt-14-dev
  desktop-file-utils appstream mandoc lintian dpkg-dev file
)
case ${1:-} in
  "") ;;
  --tests) PACKAGES+=("${TEST_PACKAGES[@]}") ;;
  *) echo "usage: scripts/setup.sh [--tests]" >&2; exit 2 ;;
esac

# One query for all: a package missing from it or not fully installed is to be installed.
missing=()
installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${PACKAGES[@]}" 2>/dev/null |
  awk '$1 == "ii" { print $2 }' | sed 's/:.*//') || true
for p in "${PACKAGES[@]}"; do
  grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "tavi needs these Debian packages. Install them with:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
