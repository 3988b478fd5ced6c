#!/usr/bin/env bash
# Builds the Debian package: a Release build for /usr with the game in /usr/games and Debian's
# hardening flags, then `cpack -G DEB`, then lintian when it is installed. Prints the package's path.
#
#   scripts/package.sh
#
# TAVI_PACKAGE_BUILD_DIR chooses the build directory (default build-deb); TAVI_CMAKE_ARGS adds
# configure options (for instance -DTAVI_HOMEPAGE_URL=https://...).
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVI_PACKAGE_BUILD_DIR:-$top/build-deb}
# Every hardening feature, immediate binding included.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }

# shellcheck disable=SC2086 # TAVI_CMAKE_ARGS holds several words
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
  -DTAVI_BUILD_TESTS=OFF -DTAVI_BUILD_BENCH=OFF \
  "-DCMAKE_C_FLAGS=$(flags CFLAGS) $(flags CPPFLAGS)" \
  "-DCMAKE_CXX_FLAGS=$(flags CXXFLAGS) $(flags CPPFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(flags LDFLAGS)" ${TAVI_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/tavi_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/tavi_*.deb)
[ -f "$deb" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >&2
fi
echo "$deb"
